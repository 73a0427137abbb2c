// The command lines of the two programs: help and version without a terminal, wrong options,
// and a catalog named on the command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_run.hpp"
#include "completion/completion.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

TEST(Options, HelpAndVersionNeedNoTerminalAndAWrongOptionIsNamed) {
  struct Case {
    const char* binary;
    const char* args;
    int status;
    std::string outStart, errStart;
  };
  const Case cases[] = {
      {FERROLUX_BINARY, "--version", 0, "ferrolux " FERROLUX_VERSION "\n", ""},
      {FERROLUX_BINARY, "--help", 0, "usage: ferrolux [--catalog FILE]\n", ""},
      {FERROLUX_BINARY, "--bogus", 2, "", "ferrolux: unknown option --bogus\nusage: ferrolux"},
      {FERROLUX_FIT_BINARY, "--version", 0, "ferrolux-fit " FERROLUX_VERSION "\n", ""},
      {FERROLUX_FIT_BINARY, "--help", 0, "usage: ferrolux-fit", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.binary) + " " + c.args);
    ferrolux::testing::TempFolder scratch;
    const auto ran = RunCommand(c.binary, {c.args}, scratch.Path());
    EXPECT_EQ(ran.status, c.status);
    EXPECT_EQ(ran.out.substr(0, c.outStart.size()), c.outStart);
    EXPECT_EQ(ran.err.substr(0, c.errStart.size()), c.errStart);
    EXPECT_EQ(ran.out.empty(), c.outStart.empty()) << ran.out;
    EXPECT_EQ(ran.err.empty(), c.errStart.empty()) << ran.err;
  }
}

// Every subcommand in the usage line and in the list of commands, with what it does.
TEST(Options, HelpNamedFourOfTheSevenCommands) {
  ferrolux::testing::TempFolder scratch;
  const auto help = RunCommand(FERROLUX_BINARY, {"--help"}, scratch.Path());
  std::string names;
  for (const cli::Subcommand& command : cli::kProgramSubcommands) {
    // Appended, as GCC 12 warns falsely of a literal plus a temporary.
    if (!names.empty()) names += '|';
    names += command.name;
    std::string listed = "\n  ";
    listed.append(command.name).append("  ");
    EXPECT_NE(help.out.find(listed), std::string::npos) << command.name;
  }
  std::string usage = "\n       ferrolux [--catalog FILE] ";
  usage.append(names).append(" [OPTIONS]\n");
  EXPECT_NE(help.out.find(usage), std::string::npos) << help.out;
}

TEST(Options, HelpAndVersionIntoAFullDiskFailWithOneLine) {
  const std::vector<std::vector<std::string>> commandLines = {
      {"--help"}, {"--version"}, {"calc", "--help"}, {"compare", "--help"}, {"plot", "--help"}, {"cables", "--help"}};
  for (const std::vector<std::string>& words : commandLines) {
    SCOPED_TRACE(words.front() + " " + words.back());
    ferrolux::testing::TempFolder scratch;
    std::vector<std::string> arguments = {"-c", "exec \"$0\" \"$@\" >/dev/full", FERROLUX_BINARY};
    arguments.insert(arguments.end(), words.begin(), words.end());
    const auto ran = RunCommand("/bin/sh", arguments, scratch.Path());
    EXPECT_EQ(ran.status, 1);
    EXPECT_EQ(ran.err, "ferrolux: the output could not be written\n");
  }
}

TEST(Options, HelpInATerminalLeavesTheScreenAlone) {
  ferrolux::testing::TempFolder temp;
  PtySession s(FERROLUX_BINARY, temp.Path(), 120, 43, {"--help"});
  EXPECT_EQ(s.WaitForExit(), 0);
  s.Pump();
  EXPECT_NE(s.Screen().find("The catalog is the first of these that exists:"), std::string::npos) << s.Screen();
  EXPECT_EQ(s.Output().find("\x1b[?1049h"), std::string::npos) << "no screen of its own";
}

TEST(Options, ANamedCatalogIsReadInsteadOfTheOneInTheFolder) {
  struct Case {
    const char* name;
    bool written;
    const char* expected;
  };
  for (const Case c : {Case{"a named catalog", true, "Select Cable Type"},
                       Case{"a named catalog that is missing", false, "Error: [53] File not found"}}) {
    SCOPED_TRACE(c.name);
    ferrolux::testing::TempFolder temp;
    temp.Write("CableCatalog.txt", "Not this one\tX\r\n");
    if (c.written)
      temp.Write("club.txt",
                 "Club Foam\tClub Foam 10\t50\t.85\t24\tCu\tFoam\tBraid\tPE\t.4 in\t\t.1\t.12\t.0003\tA.\tB.\r\n");
    PtySession s(FERROLUX_BINARY, temp.Path(), 120, 43, {"--catalog", (temp.Path() / "club.txt").string()});
    if (c.written) {
      ASSERT_TRUE(s.WaitForText("length in ft:"));
      s.Send("100\r100\r1.5\rn9");
    }
    ASSERT_TRUE(s.WaitForText(c.expected)) << s.Screen();
    EXPECT_EQ(s.Screen().find("Not this one"), std::string::npos);
    if (c.written) {
      EXPECT_NE(s.Screen().find("Club Foam"), std::string::npos) << s.Screen();
    }
  }
}

}  // namespace
}  // namespace ferrolux::e2e
