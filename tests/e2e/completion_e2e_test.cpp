// The completion scripts the program writes, loaded in the shells themselves: bash completes
// partial command lines, zsh and fish load theirs without a word of complaint.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

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
        "plot"}},
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

}  // namespace
}  // namespace ferrolux::e2e
