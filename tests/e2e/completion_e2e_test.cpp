// The completion scripts the program writes, loaded in the shells themselves: bash completes
// partial command lines, zsh and fish load theirs without a word of complaint, and each shell
// typed at in a real tmux completes hostile catalog names and part numbers without running them.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "command_run.hpp"
#include "support/temp_folder.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;

class CompletionE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  fs::path folder = temp.Path();

  void SetUp() override {
    std::ofstream(folder / "CableCatalog.txt") << kWorkedCable << kLowLossCable;
    std::ofstream(folder / "club.txt") << Record("Foam 10", "Club Foam 10") << Record("Foam 7", "Club Foam 7");
    std::ofstream(folder / "chart.svg") << "<svg/>";
  }

  // The script as the program writes it, in a file.
  fs::path Script(const std::string& shell) {
    const CommandResult written = RunCommand(FERROLUX_BINARY, {"completion", shell}, folder);
    EXPECT_EQ(written.status, 0) << written.err;
    fs::path file = folder / ("completion." + shell);
    std::ofstream(file) << written.out;
    return file;
  }
};

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The words as bash hands them to the completion function, the last being the one completed.
std::vector<std::string> Completions(const fs::path& script, const std::vector<std::string>& words,
                                     const fs::path& folder) {
  std::string line = Quoted(FERROLUX_BINARY);
  for (const std::string& word : words) (line += " ") += Quoted(word);
  const std::string program = std::string("source ") + Quoted(script.string()) +
                              " && complete -p ferrolux >/dev/null && COMP_WORDS=(" + line +
                              ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _ferrolux && "
                              "printf '%s\\n' \"${COMPREPLY[@]}\"";
  const CommandResult run = RunCommand("bash", {"--norc", "-c", program}, folder);
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> found;
  std::istringstream lines(run.out);
  for (std::string word; std::getline(lines, word);)
    if (!word.empty()) found.push_back(word);
  std::sort(found.begin(), found.end());
  return found;
}

TEST_F(CompletionE2eTest, BashCompletesSubcommandsOptionsTheirWordsCablesAndFiles) {
  struct Case {
    std::vector<std::string> words;
    std::vector<std::string> expected;  // sorted
  };
  const Case cases[] = {
      {{""},
       {"--catalog", "--help", "--version", "-h", "cables", "calc", "compare", "completion", "deembed", "measure",
        "plot", "tdr"}},
      {{"co"}, {"compare", "completion"}},
      {{"--catalog", "club.txt", "com"}, {"compare", "completion"}},
      {{"calc", "--b"}, {"--band"}},
      {{"compare", "--band", "7"}, {"70cm"}},
      {{"compare", "--sort", ""}, {"exact", "matched", "name", "total"}},
      {{"cables", "--format", "j"}, {"json"}},
      {{"calc", "--length", ""}, {}},
      {{"calc", "--cable", "test"}, {"Test\\ LMR-400", "Test\\ RG-8X"}},
      {{"--catalog", "club.txt", "plot", "--cable", "Club\\ Foam\\ 1"}, {"Club\\ Foam\\ 10"}},
      {{"plot", "--catalog", "club.txt", "--cable", "c"}, {"Club\\ Foam\\ 10", "Club\\ Foam\\ 7"}},
      {{"plot", "--svg", "cha"}, {"chart.svg"}},
      {{"tdr", "cha"}, {"chart.svg"}},
      {{"completion", "z"}, {"zsh"}},
  };
  const fs::path script = Script("bash");
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& word : c.words) line += " " + word;
    EXPECT_EQ(Completions(script, c.words, folder), c.expected) << "ferrolux" << line;
  }
}

TEST_F(CompletionE2eTest, ZshAndFishLoadTheirScriptsWithoutAComplaint) {
  const CommandResult zsh = RunCommand(
      "zsh",
      {"-f", "-c", "autoload -Uz compinit && compinit -u -D && source \"$0\" && [[ $_comps[ferrolux] == _ferrolux ]]",
       Script("zsh").string()},
      folder);
  EXPECT_EQ(zsh.status, 0) << zsh.out << zsh.err;
  EXPECT_EQ(zsh.err, "");
  const CommandResult fish = RunCommand(
      "fish",
      {"--no-config", "-c", "source $argv[1]; and complete -C'ferrolux compare --sort ma'", Script("fish").string()},
      folder);
  EXPECT_EQ(fish.status, 0) << fish.err;
  EXPECT_EQ(fish.err, "");
  EXPECT_EQ(fish.out.substr(0, fish.out.find('\t')), "matched") << fish.out;
}

const char kTmux[] = "/usr/bin/tmux";
const std::string kMarker = "@@";  // typed after the Tab: once it shows, the Tab was handled

// One shell in a tmux server of its own, its completion script loaded, its prompt "$ ".
class ShellInTmux {
 public:
  // The socket outside the test's folder, whose long name would pass a socket's 107 bytes.
  ShellInTmux(const fs::path& folder, const std::string& start, const std::string& setup)
      : socket_(fs::temp_directory_path() / ("ferrolux-tmux-" + std::to_string(getpid()))) {
    const std::string path = fs::path(FERROLUX_BINARY).parent_path().string() + ":" + std::getenv("PATH");
    Tmux("-f /dev/null new-session -d -x 200 -y 30 -c " + Quoted(folder.string()) + " " +
         Quoted("env HOME=" + Quoted((folder / "home").string()) + " PATH=" + Quoted(path) + " " + start));
    Tmux("send-keys -l " + Quoted(setup + "; echo RE''ADY"));
    Tmux("send-keys Enter");
    for (int look = 0; look < 200 && !Ready(); ++look) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  bool Ready() const { return Tmux("capture-pane -p").find("\nREADY") != std::string::npos; }
  ~ShellInTmux() { Tmux("kill-server"); }
  ShellInTmux(const ShellInTmux&) = delete;
  ShellInTmux& operator=(const ShellInTmux&) = delete;

  // The command line after `typed` and a Tab, on a fresh line.
  std::string Completed(const std::string& typed, std::chrono::seconds patience) const {
    Tmux("send-keys C-e C-u C-l");
    Tmux("send-keys -l " + Quoted(typed));
    Tmux("send-keys Tab");
    Tmux("send-keys -l " + kMarker);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::string line;
    while (std::chrono::steady_clock::now() < deadline) {
      line = CursorLine();
      if (line.size() >= kMarker.size() && line.ends_with(kMarker) && line.starts_with("$ "))
        return line.substr(2, line.size() - 2 - kMarker.size());
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "(no answer in time) " + line;
  }

 private:
  std::string Tmux(const std::string& arguments) const {
    const std::string line = std::string(kTmux) + " -S " + Quoted(socket_.string()) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(line.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    pclose(pipe);
    return out;
  }
  std::string CursorLine() const {
    const std::string y = Tmux("display-message -p '#{cursor_y}'");
    std::string line = Tmux("capture-pane -p -S " + y.substr(0, y.find('\n')) + " -E " + y.substr(0, y.find('\n')));
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    return line;
  }

  fs::path socket_;
};

struct Shell {
  const char* name;
  const char* start;
  const char* setup;  // %s: the script
};

const Shell kShells[] = {
    {"bash", "bash --norc --noprofile", "PS1='$ '; bind 'set bell-style none'; source %s"},
    {"zsh", "zsh -f", "PS1='$ '; autoload -Uz compinit && compinit -u -D; source %s"},
    {"fish", "fish --no-config --private", "function fish_prompt; echo -n '$ '; end; source %s"},
};

// zsh ran a catalog's name as a glob qualifier at Tab (`cat(e:touch PWNED:)`); bash passed a
// quoted name with its quotes; --catalog=FILE was read by no shell, ~ not by fish; a part number
// with a lone LF made two candidates; fish inserted a leading ~ unescaped; bash took a process a
// part and minutes on a large catalog.
TEST_F(CompletionE2eTest, EveryShellCompletesHostileCatalogNamesAndPartsWithoutRunningThem) {
  if (!fs::exists(kTmux)) GTEST_SKIP() << "tmux is not installed";
#ifdef FERROLUX_EMULATOR
  GTEST_SKIP() << "the shells run the program itself";
#endif
  fs::create_directory(folder / "home");
  std::ofstream(folder / "my cat.txt") << Record("A", "Club Foam 10");
  std::ofstream(folder / "home" / "cat.txt") << Record("A", "Home Foam");
  std::ofstream(folder / "cat(e:touch PWNED:)") << Record("A", "Glob Foam");
  std::ofstream(folder / "cat") << "";  // as a glob, the name above runs its qualifier on this file
  std::ofstream(folder / "$(touch PWNED)") << Record("A", "Dollar Foam");
  std::ofstream(folder / "hostile.txt") << Record("A", "~root") << Record("A", "$(touch PWNED)")
                                        << Record("A", "Lf A\nLf B") << Record("A", "Lf C");
  std::ofstream(folder / "tilde.txt") << Record("A", "~root");
  std::ofstream large(folder / "large.txt");
  for (int part = 0; part < 100000; ++part) large << Record("A", "Bulk" + std::to_string(100000 + part));
  large.close();

  struct Case {
    std::string before;  // the command line before the word completed
    std::string word, completed;
    std::string fish = "";  // where fish differs
  };
  const std::string plot = " plot --cable ";
  const Case cases[] = {
      {"--catalog 'my cat.txt'" + plot, "C", "Club\\ Foam\\ 10 "},
      {"--catalog \"my cat.txt\"" + plot, "C", "Club\\ Foam\\ 10 "},
      {"--catalog my\\ cat.txt" + plot, "C", "Club\\ Foam\\ 10 "},
      {"--catalog='my cat.txt'" + plot, "C", "Club\\ Foam\\ 10 "},
      {"plot --catalog=my\\ cat.txt --cable ", "C", "Club\\ Foam\\ 10 "},
      {"--catalog my\\ cat.txt" + plot, "'Cl", "'Club Foam 10' "},
      {"--catalog ~/cat.txt" + plot, "H", "Home\\ Foam "},
      {"--catalog=~/cat.txt" + plot, "H", "Home\\ Foam "},
      {"--catalog 'cat(e:touch PWNED:)'" + plot, "G", "Glob\\ Foam "},
      {"--catalog cat\\(e:touch\\ PWNED:\\)" + plot, "G", "Glob\\ Foam "},
      {"--catalog '$(touch PWNED)'" + plot, "D", "Dollar\\ Foam "},
      {"--catalog hostile.txt" + plot, "\\~", "\\~root "},
      {"--catalog hostile.txt" + plot, "\\$", "\\$\\(touch\\ PWNED\\) "},
      {"--catalog hostile.txt" + plot, "Lf", "Lf\\ C "},
      {"--catalog tilde.txt" + plot, "", "\\~root ", "(nothing)"},
      {"--catalog large.txt" + plot, "B", "Bulk1"},
      {"tdr ", "cha", "chart.svg "},
  };
  for (const Shell& shell : kShells) {
    const CommandResult which = RunCommand("/bin/sh", {"-c", std::string("command -v ") + shell.name}, folder);
    if (which.status != 0) {
      ADD_FAILURE() << shell.name << " is not installed (tools/setup-packages --tests)";
      continue;
    }
    std::string setup = shell.setup;
    setup.replace(setup.find("%s"), 2, Quoted(Script(shell.name).string()));
    const ShellInTmux session(folder, shell.start, setup);
    if (!session.Ready()) {
      ADD_FAILURE() << shell.name << " did not start in tmux";
      continue;
    }
    for (const Case& c : cases) {
      const std::string before = "ferrolux " + c.before;
      std::string completed = shell.name == std::string("fish") && !c.fish.empty() ? c.fish : c.completed;
      if (completed == "(nothing)") completed = c.word;
      // Minutes with a process a part; seconds on a loaded machine without.
      const auto patience = std::chrono::seconds(c.before.starts_with("--catalog large") ? 60 : 10);
      EXPECT_EQ(session.Completed(before + c.word, patience), before + completed) << shell.name;
    }
  }
  EXPECT_FALSE(fs::exists(folder / "PWNED"));
}

}  // namespace
}  // namespace ferrolux::e2e
