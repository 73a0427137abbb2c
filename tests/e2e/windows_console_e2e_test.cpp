// The Windows program under wine in a pseudo-terminal, read back as the Linux one is: wine
// renders the console to the terminal, so the same screens must come out. Built only when a
// cross build's ferrolux.exe is named (FERROLUX_WINDOWS_PROGRAM).
#ifdef FERROLUX_WINDOWS_PROGRAM

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "command_run.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::seconds;

constexpr int kExitInterrupted = 130;
// Wine starts slowly, the first time in a new prefix most of all.
constexpr seconds kStart{90};
constexpr seconds kStep{15};

std::string TypeCatalog() {
  std::string catalog = kWorkedCable + kLowLossCable;
  for (int i = 1; i <= 40; ++i) catalog += Record(std::string(i < 10 ? "T0" : "T") + std::to_string(i), "Part");
  return catalog;
}

// The item under the bar in the cable-type list.
std::string SelectedItem(const PtySession& s) {
  constexpr int kItemColumn = 47, kSelectedBackground = 4;
  for (int row = 8; row <= 38; ++row) {
    if (s.Colors(row, kItemColumn).background != kSelectedBackground) continue;
    std::string text;
    for (int column = kItemColumn + 1; s.Cell(row, column) != " " && column < 120; ++column)
      text += s.Cell(row, column);
    return text;
  }
  return "none";
}

class WindowsConsoleE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WINEDEBUG", "-all", 1);
    temp.Write("CableCatalog.txt", TypeCatalog());
  }
  std::unique_ptr<PtySession> Start() {
    auto session = std::make_unique<PtySession>(FERROLUX_WINE, temp.Path(), 120, 43,
                                                std::vector<std::string>{FERROLUX_WINDOWS_PROGRAM});
    EXPECT_TRUE(session->WaitForText(kLengthPrompt, kStart)) << session->Screen();
    return session;
  }
  static bool Step(PtySession& s, const std::string& keys, const std::string& text) {
    s.Send(keys);
    return s.WaitForText(text, kStep);
  }
  // Settings in, the band menu, a frequency and the cable-type list.
  static bool ReachTypeList(PtySession& s) {
    return Step(s, "50\r100\r1.1\r", kReviseQuestion) && Step(s, "n", kBandPrompt) && Step(s, "f", kFrequencyPrompt) &&
           Step(s, "100\r", kTypeListTitle);
  }
  ferrolux::testing::TempFolder temp;
};

TEST_F(WindowsConsoleE2eTest, ResultsScreenEqualsTheLinuxOne) {
  std::string pictures[2];
  for (int run = 0; run < 2; ++run) {
    std::unique_ptr<PtySession> s = run == 0 ? std::make_unique<PtySession>(FERROLUX_BINARY, temp.Path()) : Start();
    ASSERT_TRUE(s->WaitForText(kLengthPrompt, kStart));
    ASSERT_TRUE(ReachTypeList(*s)) << s->Screen();
    ASSERT_TRUE(Step(*s, "r\r", kPartListTitle)) << s->Screen();  // type-ahead picks RG-8X
    ASSERT_TRUE(Step(*s, "\r", kClosingQuestion)) << s->Screen();
    ASSERT_TRUE(s->WaitForQuiet(std::chrono::milliseconds(500), kStep));
    pictures[run] = s->Screen();
    EXPECT_EQ(s->Colors(42, 39).background, 4) << run;
    s->Send("n");
    EXPECT_EQ(s->WaitForExit(kStep), 0) << run;
  }
  EXPECT_EQ(pictures[1], pictures[0]);
}

TEST_F(WindowsConsoleE2eTest, PickListScrollsWithPagingKeysAndTypedLetters) {
  std::unique_ptr<PtySession> s = Start();
  ASSERT_TRUE(ReachTypeList(*s)) << s->Screen();
  const struct {
    const char* keys;
    const char* selected;
  } steps[] = {{"\x1b[F", "LMR-400"}, {"\x1b[H", "T40"}, {"\x1b[6~", "T10"}, {"r", "RG-8X"}};
  for (const auto& step : steps) {
    s->Send(step.keys);
    EXPECT_TRUE(s->PumpUntil([&] { return SelectedItem(*s) == step.selected; }, kStep))
        << step.selected << " wanted, " << SelectedItem(*s) << " selected";
  }
}

TEST_F(WindowsConsoleE2eTest, BandMenuHelpThenEscapeEndsWithTheRunLines) {
  std::unique_ptr<PtySession> s = Start();
  ASSERT_TRUE(Step(*s, "50\r100\r1.1\r", kReviseQuestion) && Step(*s, "n", kBandPrompt)) << s->Screen();
  ASSERT_TRUE(Step(*s, "?", "Press any key to return to the menu")) << s->Screen();
  ASSERT_TRUE(Step(*s, " ", kLengthPrompt)) << s->Screen();
  ASSERT_TRUE(Step(*s, "50\r100\r1.1\r", kReviseQuestion) && Step(*s, "n", kBandPrompt)) << s->Screen();
  s->Send("\x1b");
  EXPECT_EQ(s->WaitForExit(kStep), 0);
  EXPECT_TRUE(s->WaitForText("Program Run End: ", kStep)) << s->Screen();
  EXPECT_EQ(s->Screen().find("Transmission Line"), std::string::npos);  // nothing of the page is left
}

// Wine repaints the terminal only where the starting console is written after it is made
// active again, so that it is active again is checked against the fake console alone
// (WindowsConsoleTest.ControlEventsEndTheRunAsSignalsDo).
TEST_F(WindowsConsoleE2eTest, CtrlCAtAPromptEndsTheRunWithTheRunLines) {
  std::unique_ptr<PtySession> s = Start();
  s->Send("\x03");
  EXPECT_EQ(s->WaitForExit(kStep), kExitInterrupted);
  EXPECT_TRUE(s->WaitForText("Program Run End: ", kStep)) << s->Screen();
}

TEST_F(WindowsConsoleE2eTest, MissingCatalogIsReportedAndAKeyEndsTheRun) {
  std::filesystem::remove(temp.Path() / "CableCatalog.txt");
  PtySession s(FERROLUX_WINE, temp.Path(), 120, 43, {FERROLUX_WINDOWS_PROGRAM});
  ASSERT_TRUE(s.WaitForText("Error: [53] File not found", kStart)) << s.Screen();
  s.Send("k");
  EXPECT_EQ(s.WaitForExit(kStep), 0);
  EXPECT_TRUE(s.WaitForText("Program Run Start: ", kStep)) << s.Screen();
}

// Every name under `folder`, so a temporary left behind shows.
std::set<std::filesystem::path> NamesUnder(const std::filesystem::path& folder) {
  std::set<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) names.insert(entry.path());
  return names;
}

// Wine runs as root here, so a read-only folder takes the chart (README names that case); a
// target Windows itself refuses stands in: a folder of that name, or a path through a file.
TEST_F(WindowsConsoleE2eTest, SvgTargetThatRefusesIsNamedAndLeavesNoTemporary) {
  std::filesystem::create_directory(temp.Path() / "charts");
  temp.Write("notes.txt", "notes\n");
  const struct {
    const char* target;
    const char* reason;
  } cases[] = {{"charts", "Is a directory"}, {"notes.txt/chart.svg", "Not a directory"}};
  const std::set<std::filesystem::path> before = NamesUnder(temp.Path());
  for (const auto& c : cases) {
    const CommandResult run = RunCommand(
        FERROLUX_WINE, {FERROLUX_WINDOWS_PROGRAM, "plot", "--cable", "RG-8X", "--svg", c.target}, temp.Path());
    EXPECT_EQ(run.status, 1) << c.target;
    EXPECT_EQ(run.err, std::string("ferrolux: ") + c.target + ": could not be written: " + c.reason + "\n");
    EXPECT_EQ(NamesUnder(temp.Path()), before) << c.target;
  }
}

}  // namespace
}  // namespace ferrolux::e2e

#endif
