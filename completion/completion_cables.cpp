#include "completion/completion_cables.hpp"

#include <string_view>

#include "completion/completion.hpp"

namespace ferrolux::cli {

namespace {

constexpr std::string_view kFunctionMark = "%FN%", kCommandMark = "%PARTS%";

// The script with its marks replaced by the function prefix and the hidden command's name.
std::string Filled(std::string_view script, const std::string& function) {
  std::string filled;
  while (!script.empty()) {
    if (script.starts_with(kFunctionMark)) {
      filled += function;
      script.remove_prefix(kFunctionMark.size());
    } else if (script.starts_with(kCommandMark)) {
      filled += kPartNumbersCommand;
      script.remove_prefix(kCommandMark.size());
    } else {
      filled += script.front();
      script.remove_prefix(1);
    }
  }
  return filled;
}

// The shell-side of bash's completion must stay fast on 100,000 part numbers: the program
// filters them by the word typed, and one printf quotes them all, with no process per part.
constexpr char kBash[] = R"sh(# A word of the command line as bash would pass it, without running or globbing anything:
# quotes and backslashes removed, $NAME and ${NAME} expanded; any other expansion fails.
%FN%_unquoted() {
  local word=$1 quote= c i name ansi='^(([^\\'\'']|\\.)*)'\''?' variable='^\{?([A-Za-z_][A-Za-z0-9_]*)\}?'
  REPLY=
  for ((i = 0; i < ${#word}; i++)); do
    c=${word:i:1}
    if [[ $quote == \' ]]; then
      if [[ $c == \' ]]; then quote=; else REPLY+=$c; fi
    elif [[ $c == \\ ]]; then
      ((i++))
      c=${word:i:1}
      [[ $quote && $c != [\$\`\"\\] ]] && REPLY+=\\
      REPLY+=$c
    elif [[ $c == \" ]]; then
      if [[ $quote ]]; then quote=; else quote=\"; fi
    elif [[ $c == \' ]]; then
      quote=\'
    elif [[ $c$quote == \$ && ${word:i+1:1} == \' && ${word:i+2} =~ $ansi ]]; then
      name=${BASH_REMATCH[1]}
      printf -v c '%b' "${name//\\\'/\'}"
      REPLY+=$c
      ((i += ${#BASH_REMATCH[0]} + 1))
    elif [[ $c == \$ && ${word:i+1} =~ $variable ]]; then
      name=${BASH_REMATCH[1]}
      [[ ${word:i+1:1} == { && ${BASH_REMATCH[0]} != *} ]] && return 1
      REPLY+=${!name}
      ((i += ${#BASH_REMATCH[0]}))
    elif [[ $c == [\$\`] ]]; then
      return 1
    else
      REPLY+=$c
    fi
  done
}

# A file named on the command line: as above, after a leading ~ or ~USER.
%FN%_path() {
  local word=$1 home=$HOME user
  if [[ $word == \~* ]]; then
    user=${word%%/*}
    user=${user#\~}
    word=${word:${#user} + 1}
    if [[ $user ]]; then
      [[ $user =~ ^[A-Za-z0-9._][A-Za-z0-9._-]*$ ]] || return 1
      IFS=: read -r _ _ _ _ _ home _ < <(getent passwd "$user") && [[ $home ]] || return 1
    fi
  else
    home=
  fi
  %FN%_unquoted "$word" || return
  REPLY=$home$REPLY
}

# The words before the one completed as they were typed: bash splits a word at = : ( and more,
# `cat\(e:x\)` into five; the pieces with no blank between them are one word again.
%FN%_typed_words() {
  local line=$COMP_LINE i gap
  words=()
  for ((i = 0; i < COMP_CWORD; i++)); do
    if [[ $line != *"${COMP_WORDS[i]}"* ]]; then
      words+=("${COMP_WORDS[i]}")
      continue
    fi
    gap=${line%%"${COMP_WORDS[i]}"*}
    line=${line:${#gap} + ${#COMP_WORDS[i]}}
    if ((i > 0)) && [[ -z $gap ]]; then words[-1]+=${COMP_WORDS[i]}; else words+=("${COMP_WORDS[i]}"); fi
  done
}

# The part numbers that begin with the word being completed, of the catalog the program would
# read (--catalog FILE and --catalog=FILE included): one process, which also filters them, then
# quoted all at once.
%FN%_cables() {
  local - IFS=$'\n' i word program typed listed catalog=() parts=() words=()
  set -f
  COMPREPLY=()
  %FN%_path "${COMP_WORDS[0]}" && program=$REPLY || return
  %FN%_unquoted "$cur" && typed=$REPLY || return
  %FN%_typed_words
  for ((i = 1; i < ${#words[@]}; i++)); do
    word=${words[i]}
    if [[ $word == --catalog ]]; then
      [[ ${words[i + 1]} == = ]] && ((i++))
      word=--catalog=${words[++i]}
    fi
    [[ $word == --catalog=* ]] || continue
    %FN%_path "${word#--catalog=}" || return
    catalog=(--catalog "$REPLY")
  done
  listed=$("$program" "${catalog[@]}" %PARTS% -- "$typed" 2>/dev/null)
  [[ $listed ]] || return
  parts=($listed)
  # Quoted for where they go: after an opening quote readline adds the closing one itself.
  case $cur in
    \'*) COMPREPLY=("${parts[@]//\'/"'\\''"}") ;;
    \"*)
      parts=("${parts[@]//\\/"\\\\"}")
      parts=("${parts[@]//\$/"\\\$"}")
      parts=("${parts[@]//\`/"\\\`"}")
      COMPREPLY=("${parts[@]//\"/"\\\""}") ;;
    *)
      printf -v listed '%q\n' "${parts[@]}"
      COMPREPLY=($listed) ;;
  esac
}
)sh";

constexpr char kZsh[] =
    R"sh(# A file named on the command line, its quotes removed and a leading ~ or ~NAME expanded; never
# globbed, so that nothing in a file's name can run.
%FN%_path() {
  local word=$1 name
  REPLY=
  if [[ $word == \~* ]]; then
    name=${${word%%/*}#\~}
    word=${word:$(( $#name + 1 ))}
    if [[ -z $name ]]; then
      REPLY=$HOME
    elif (( $+nameddirs[$name] )); then
      REPLY=$nameddirs[$name]
    else
      [[ $name != *[^A-Za-z0-9._-]* ]] || return 1
      REPLY=${"${(@s.:.)$(getent passwd -- "$name")}"[6]}
      [[ -n $REPLY ]] || return 1
    fi
  fi
  REPLY+=${(Q)word}
}

# The part numbers of the catalog the program would read, --catalog FILE and --catalog=FILE
# included, those the word typed so far may be on its way to, as --cable reads names.
%FN%_cables() {
  local -a catalog parts
  local REPLY program word i
  %FN%_path "$%FN%_line[1]" || return
  program=$REPLY
  for (( i = 2; i <= $#%FN%_line; i++ )); do
    word=$%FN%_line[i]
    [[ $word == --catalog ]] && word=--catalog=$%FN%_line[++i]
    [[ $word == --catalog=* ]] || continue
    %FN%_path "${word#--catalog=}" || return
    catalog=(--catalog "$REPLY")
  done
  parts=(${(f)"$("$program" "${catalog[@]}" %PARTS% -- "${(Q)PREFIX}" 2>/dev/null)"})
  compadd -U -a parts
}
)sh";

constexpr char kFish[] = R"sh(# A file named on the command line (fish has removed its quotes) with a leading ~ or ~NAME
# expanded; never globbed, so that nothing in a file's name can run.
function %FN%_path -a word
    if string match -q -- '~*' $word
        set -l name (string split -m 1 -f 1 / -- (string sub -s 2 -- $word))
        set -l home $HOME
        if test -n "$name"
            string match -qr -- '^[A-Za-z0-9._][A-Za-z0-9._-]*$' $name; or return 1
            set home (getent passwd $name | string split -f 6 :); or return 1
        end
        set word (string join '' -- $home (string sub -s (math (string length -- $name) + 2) -- $word))
    end
    printf '%s\n' $word
end

# The part numbers of the catalog the program would read, --catalog FILE and --catalog=FILE
# included; fish matches them to the word itself.
function %FN%_cables
    set -l tokens (commandline -opc)
    set -l program (%FN%_path $tokens[1]); or return
    set -l catalog
    for i in (seq 2 (count $tokens))
        set -l word $tokens[$i]
        test "$word" = --catalog; and set word --catalog=$tokens[(math $i + 1)]
        string match -q -- '--catalog=*' $word; or continue
        set catalog --catalog (%FN%_path (string replace -r -- '^--catalog=' '' $word)); or return
    end
    # fish inserts a leading ~ unescaped, where it names a home folder: such a part number is
    # offered only once the word starts with an escaped \~ or a quote.
    set -l typed (commandline -ct)
    if string match -qr -- '^[\\\\\'"]' "$typed"
        $program $catalog %PARTS% 2>/dev/null
    else
        $program $catalog %PARTS% 2>/dev/null | string match -v -- '~*'
    end
end
)sh";

}  // namespace

std::string BashCableFunctions(const std::string& function) { return Filled(kBash, function); }
std::string ZshCableFunctions(const std::string& function) { return Filled(kZsh, function); }
std::string FishCableFunctions(const std::string& function) { return Filled(kFish, function); }

}  // namespace ferrolux::cli
