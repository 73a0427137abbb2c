#include "completion/completion_scripts.hpp"

#include <sstream>

#include "completion/completion_cables.hpp"

namespace ferrolux::cli {

namespace {

std::string Replaced(std::string_view text, char from, std::string_view to) {
  std::string result;
  for (const char c : text) {
    if (c == from) result += to;
    else result += c;
  }
  return result;
}

// A word for sh, bash and zsh, taken as it stands.
// Built by appending: GCC 12 warns falsely on a literal added to a temporary string.
std::string Enclosed(std::string_view open, std::string_view text, std::string_view close) {
  std::string enclosed(open);
  enclosed += text;
  enclosed += close;
  return enclosed;
}

std::string Quoted(std::string_view text) { return Enclosed("'", Replaced(text, '\'', "'\\''"), "'"); }

std::string FishQuoted(std::string_view text) {
  return Enclosed("'", Replaced(Replaced(text, '\\', "\\\\"), '\'', "\\'"), "'");
}

std::string Joined(const std::vector<std::string>& words, std::string_view separator) {
  std::string joined;
  for (const std::string& word : words) joined += (joined.empty() ? "" : std::string(separator)) + word;
  return joined;
}

std::vector<std::string> NamesOf(const CompletedOption& option) {
  std::vector<std::string> names;
  for (const std::string& name : option.shortNames) names.push_back("-" + name);
  for (const std::string& name : option.longNames) names.push_back("--" + name);
  return names;
}

std::vector<std::string> CommandNames(const CompletionModel& model) {
  std::vector<std::string> names;
  for (const CompletedCommand& command : model.commands) names.push_back(command.name);
  return names;
}

// The root's options that take a value, whose value is never a subcommand's name.
std::vector<std::string> ValueOptionNames(const CompletionModel& model) {
  std::vector<std::string> names;
  for (const CompletedOption& option : model.options) {
    if (option.kind == ValueKind::kFlag) continue;
    for (const std::string& name : NamesOf(option)) names.push_back(name);
  }
  return names;
}

// ---- bash

std::string BashValueAction(const CompletedOption& option, const std::string& function) {
  switch (option.kind) {
    case ValueKind::kWords:
      return Enclosed("COMPREPLY=($(compgen -W ", Quoted(Joined(option.words, " ")), " -- \"$cur\"))");
    case ValueKind::kFiles: return function + "_files";
    case ValueKind::kCables: return function + "_cables";
    default: return ":";
  }
}

// One case per subcommand (the empty name for the program's own): a value after an option
// that takes one, else the options and the words of its arguments; where its argument is a
// file, files unless the word begun is an option.
void WriteBashCase(std::ostream& out, const std::string& pattern, const std::vector<CompletedOption>& options,
                   std::vector<std::string> words, const std::string& function, bool fileArgument) {
  out << "    " << pattern << ")\n      case $prev in\n";
  for (const CompletedOption& option : options) {
    if (option.kind == ValueKind::kFlag) continue;
    out << "        " << Joined(NamesOf(option), "|") << ") " << BashValueAction(option, function) << "; return ;;\n";
  }
  out << "      esac\n";
  if (fileArgument) out << "      [[ $cur == -* ]] || { " << function << "_files; return; }\n";
  for (const CompletedOption& option : options)
    for (const std::string& name : NamesOf(option)) words.push_back(name);
  out << "      COMPREPLY=($(compgen -W " << Quoted(Joined(words, " ")) << " -- \"$cur\")) ;;\n";
}

void WriteBashHelpers(std::ostream& out, const std::string& function) {
  out << function << "_files() {\n"
      << "  local IFS=$'\\n'\n"
      << "  compopt -o filenames 2>/dev/null\n"
      << "  COMPREPLY=($(compgen -f -- \"$cur\"))\n"
      << "}\n\n"
      << BashCableFunctions(function) << "\n";
}

// ---- zsh

// A text inside an _arguments description, where brackets and colons have a meaning.
std::string ZshDescription(std::string_view text) {
  return Replaced(Replaced(Replaced(text, '[', "\\["), ']', "\\]"), ':', "\\:");
}

std::string ZshAction(const CompletedOption& option, const std::string& function) {
  switch (option.kind) {
    case ValueKind::kWords: return Enclosed("(", Joined(option.words, " "), ")");
    case ValueKind::kFiles: return "_files";
    case ValueKind::kCables: return function + "_cables";
    default: return " ";
  }
}

void WriteZshSpecs(std::ostream& out, const std::vector<CompletedOption>& options, const std::string& function,
                   const std::string& indent) {
  for (const CompletedOption& option : options) {
    for (const std::string& name : NamesOf(option)) {
      std::string spec = (option.repeats ? "*" : "") + name;
      // The value may follow a long name in the same word: --catalog=FILE.
      if (option.kind != ValueKind::kFlag && name.starts_with("--")) spec += "=";
      if (!option.help.empty()) spec += Enclosed("[", ZshDescription(option.help), "]");
      if (option.kind != ValueKind::kFlag)
        spec += Enclosed(":", ZshDescription(option.longNames.empty() ? name : option.longNames.front()), ":") +
                ZshAction(option, function);
      out << " \\\n" << indent << Quoted(spec);
    }
  }
}

}  // namespace

std::string BashCompletion(const CompletionModel& model) {
  const std::string function = "_" + model.program;
  std::ostringstream out;
  out << "# bash completion for " << model.program << ", written by `" << model.program
      << " completion bash` from the program's own command line\n\n";
  WriteBashHelpers(out, function);
  out << function << "() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} command= i\n"
      << "  # bash splits --option=VALUE into three words\n"
      << "  if [[ $cur == = ]]; then cur=; elif [[ $prev == = ]]; then prev=${COMP_WORDS[COMP_CWORD - 2]}; fi\n"
      << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      << "    case ${COMP_WORDS[i]} in\n";
  if (const auto values = ValueOptionNames(model); !values.empty())
    out << "      " << Joined(values, "|") << ") [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++)); ((i++)) ;;\n";
  out << "      " << Joined(CommandNames(model), "|") << ") command=${COMP_WORDS[i]}; break ;;\n"
      << "    esac\n"
      << "  done\n"
      << "  case $command in\n";
  for (const CompletedCommand& command : model.commands)
    WriteBashCase(out, command.name, command.options, command.arguments, function, command.fileArgument);
  WriteBashCase(out, "*", model.options, CommandNames(model), function, false);
  out << "  esac\n"
      << "}\n"
      << "complete -F " << function << " " << model.program << "\n";
  return out.str();
}

std::string ZshCompletion(const CompletionModel& model) {
  const std::string function = "_" + model.program;
  std::ostringstream out;
  out << "#compdef " << model.program << "\n"
      << "# zsh completion for " << model.program << ", written by `" << model.program
      << " completion zsh` from the program's own command line\n\n";
  out << ZshCableFunctions(function) << "\n";
  out << function << "() {\n"
      << "  local curcontext=$curcontext state line\n"
      << "  # The words before the one completed, before _arguments takes the leading ones away\n"
      << "  typeset -ga " << function << "_line\n"
      << "  " << function << "_line=(\"${(@)words[1,CURRENT-1]}\")\n"
      << "  # -A: an option after the subcommand's name is the subcommand's, --catalog included\n"
      << "  _arguments -C -A '-*'";
  WriteZshSpecs(out, model.options, function, "    ");
  out << " \\\n    '1:command:->command' \\\n    '*::argument:->argument'\n"
      << "  case $state in\n"
      << "    command)\n"
      << "      local -a commands=(";
  for (const CompletedCommand& command : model.commands)
    out << "\n        " << Quoted(command.name + ":" + Replaced(command.help, ':', "\\:"));
  out << ")\n"
      << "      _describe -t commands command commands ;;\n"
      << "    argument)\n"
      << "      case $line[1] in\n";
  for (const CompletedCommand& command : model.commands) {
    out << "        " << command.name << ")\n          _arguments";
    WriteZshSpecs(out, command.options, function, "            ");
    if (!command.arguments.empty())
      out << " \\\n            " << Quoted(Enclosed("1:argument:(", Joined(command.arguments, " "), ")"));
    if (command.fileArgument) out << " \\\n            " << Quoted("1:file:_files");
    out << " ;;\n";
  }
  out << "      esac ;;\n"
      << "  esac\n"
      << "}\n\n"
      << "# Autoloaded from the fpath it completes at once; sourced, it registers itself.\n"
      << "if [[ $funcstack[1] == " << function << " ]]; then\n"
      << "  " << function << " \"$@\"\n"
      << "else\n"
      << "  compdef " << function << " " << model.program << "\n"
      << "fi\n";
  return out.str();
}

namespace {

// ---- fish

void WriteFishOption(std::ostream& out, const std::string& start, const CompletedOption& option,
                     const std::string& function) {
  out << start;
  for (const std::string& name : option.shortNames) out << " -s " << name;
  for (const std::string& name : option.longNames) out << " -l " << name;
  switch (option.kind) {
    case ValueKind::kFlag: break;
    case ValueKind::kWords: out << " -x -a " << FishQuoted(Joined(option.words, " ")); break;
    case ValueKind::kFiles: out << " -r -F"; break;
    case ValueKind::kCables: out << " -x -a '(" << function << "_cables)'"; break;
    default: out << " -x"; break;
  }
  if (!option.help.empty()) out << " -d " << FishQuoted(option.help);
  out << "\n";
}

void WriteFishHelpers(std::ostream& out, const CompletionModel& model, const std::string& function) {
  out << "# Succeeds when the subcommand on the command line is the one named (none: no name).\n"
      << "function " << function << "_command -a wanted\n"
      << "    set -l tokens (commandline -opc)\n"
      << "    set -e tokens[1]\n"
      << "    while set -q tokens[1]\n"
      << "        switch $tokens[1]\n";
  if (const auto values = ValueOptionNames(model); !values.empty())
    out << "            case " << Joined(values, " ") << "\n                set -e tokens[1]\n";
  out << "            case " << Joined(CommandNames(model), " ") << "\n"
      << "                test \"$tokens[1]\" = \"$wanted\"\n"
      << "                return\n"
      << "        end\n"
      << "        set -e tokens[1]\n"
      << "    end\n"
      << "    test -z \"$wanted\"\n"
      << "end\n\n"
      << FishCableFunctions(function) << "\n";
}

}  // namespace

std::string FishCompletion(const CompletionModel& model) {
  const std::string function = "__" + model.program;
  std::ostringstream out;
  out << "# fish completion for " << model.program << ", written by `" << model.program
      << " completion fish` from the program's own command line\n\n";
  WriteFishHelpers(out, model, function);
  const std::string complete = "complete -c " + model.program;
  out << complete << " -f\n";
  const std::string atStart = complete + " -n " + function + "_command";
  for (const CompletedOption& option : model.options) WriteFishOption(out, atStart, option, function);
  for (const CompletedCommand& command : model.commands)
    out << atStart << " -a " << command.name << " -d " << FishQuoted(command.help) << "\n";
  for (const CompletedCommand& command : model.commands) {
    const std::string within = complete + " -n " + FishQuoted(function + "_command " + command.name);
    for (const CompletedOption& option : command.options) WriteFishOption(out, within, option, function);
    if (!command.arguments.empty()) out << within << " -x -a " << FishQuoted(Joined(command.arguments, " ")) << "\n";
    if (command.fileArgument) out << within << " -F\n";
  }
  return out.str();
}

namespace {

// ---- PowerShell

std::string PowerShellQuoted(std::string_view text) { return Enclosed("'", Replaced(text, '\'', "''"), "'"); }

std::string PowerShellList(const std::vector<std::string>& words) {
  std::vector<std::string> quoted;
  quoted.reserve(words.size());
  for (const std::string& word : words) quoted.push_back(PowerShellQuoted(word));
  return Enclosed("@(", Joined(quoted, ", "), ")");
}

std::vector<std::string> OptionNames(const std::vector<CompletedOption>& options) {
  std::vector<std::string> names;
  for (const CompletedOption& option : options)
    for (const std::string& name : NamesOf(option)) names.push_back(name);
  return names;
}

std::vector<std::string> FileArgumentCommands(const CompletionModel& model) {
  std::vector<std::string> names;
  for (const CompletedCommand& command : model.commands)
    if (command.fileArgument) names.push_back(command.name);
  return names;
}

// What follows an option that takes a value: its words, or what finds them.
std::string PowerShellValue(const CompletedOption& option) {
  switch (option.kind) {
    case ValueKind::kWords: return PowerShellList(option.words);
    case ValueKind::kCables: return "'cables'";
    case ValueKind::kFiles: return "'files'";
    default: return "'free'";
  }
}

void WritePowerShellValues(std::ostream& out, const std::string& command, const std::vector<CompletedOption>& options) {
  for (const CompletedOption& option : options) {
    if (option.kind == ValueKind::kFlag) continue;
    for (const std::string& name : NamesOf(option))
      out << "        " << PowerShellQuoted(Enclosed(command, " ", name)) << " = " << PowerShellValue(option) << "\n";
  }
}

// Finds the subcommand and any --catalog among the words before the cursor, then offers what may
// come next; files, here and for a subcommand's file argument, are left to PowerShell's own path
// completion, which it falls back on when nothing is offered.
constexpr char kPowerShellBody[] =
    R"ps(    $words = @($commandAst.CommandElements | Where-Object { $_.Extent.EndOffset -lt $cursorPosition } |
        ForEach-Object { $_.ToString() })
    $command = ''
    $catalog = @()
    for ($i = 1; $i -lt $words.Count; $i++) {
        if ($words[$i] -eq '--catalog' -and $i + 1 -lt $words.Count) { $catalog = @('--catalog', $words[$i + 1]) }
        if ($rootValueOptions -contains $words[$i]) { $i++ }
        elseif (-not $command -and $commands -contains $words[$i]) { $command = $words[$i] }
    }
    $value = $values["$command $($words[-1])"]
    if ($value -is [array]) { $candidates = $value }
    elseif ($value -eq 'cables') { $candidates = @(& $program @catalog %PARTS% -- $wordToComplete 2>$null) }
    elseif ($value) { return }
    elseif ($fileArguments -contains $command -and $wordToComplete -notlike '-*') { return }
    elseif ($command) { $candidates = $options[$command] + $arguments[$command] }
    else { $candidates = $options[''] + $commands }
    $candidates | Where-Object { $_ -like "$([WildcardPattern]::Escape($wordToComplete))*" } | ForEach-Object {
        $text = if ($_ -match '[\s''"`$;,(){}@#|&<>]') { "'" + ($_ -replace "'", "''") + "'" } else { $_ }
        [System.Management.Automation.CompletionResult]::new($text, $_, 'ParameterValue', $_)
    }
}
)ps";

}  // namespace

std::string PowerShellCompletion(const CompletionModel& model) {
  std::ostringstream out;
  out << "# PowerShell completion for " << model.program << ", written by `" << model.program
      << " completion powershell` from the program's own command line\n\n"
      << "Register-ArgumentCompleter -Native -CommandName " << PowerShellQuoted(model.program) << " -ScriptBlock {\n"
      << "    param($wordToComplete, $commandAst, $cursorPosition)\n"
      << "    $program = " << PowerShellQuoted(model.program) << "\n"
      << "    $commands = " << PowerShellList(CommandNames(model)) << "\n"
      << "    $rootValueOptions = " << PowerShellList(ValueOptionNames(model)) << "\n"
      << "    $options = @{\n        '' = " << PowerShellList(OptionNames(model.options)) << "\n";
  for (const CompletedCommand& command : model.commands)
    out << "        " << PowerShellQuoted(command.name) << " = " << PowerShellList(OptionNames(command.options))
        << "\n";
  out << "    }\n    $arguments = @{\n";
  for (const CompletedCommand& command : model.commands)
    if (!command.arguments.empty())
      out << "        " << PowerShellQuoted(command.name) << " = " << PowerShellList(command.arguments) << "\n";
  out << "    }\n    $fileArguments = " << PowerShellList(FileArgumentCommands(model)) << "\n";
  out << "    # The value an option takes: its words, 'cables', 'files' or 'free'.\n    $values = @{\n";
  WritePowerShellValues(out, "", model.options);
  for (const CompletedCommand& command : model.commands) WritePowerShellValues(out, command.name, command.options);
  out << "    }\n";
  std::string body = kPowerShellBody;
  const std::string mark = "%PARTS%";
  body.replace(body.find(mark), mark.size(), kPartNumbersCommand);
  out << body;
  return out.str();
}

}  // namespace ferrolux::cli
