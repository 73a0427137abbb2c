#include "app/program.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/cycle_screen.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux {
namespace {

namespace fs = std::filesystem;

const char kOneCable[] =
    "RG-8X\tTest RG-8X\t50\t0.78\t25\tStranded Cu\tFoam PE\tBraid\tPVC\t0.242 in\t300 V\t0.3\t0.35\t0.002\t"
    "A small test cable.\tTesting.\r\n";

class ProgramTest : public ::testing::Test {
 protected:
  HeadlessConsole h;
  testing::TempFolder folder;
  fs::path catalog = folder.Write("CableCatalog.txt", kOneCable);
  void SetUp() override { h.clock.now = {2026, 12, 9, 7, 30, 0}; }
  const ScreenModel& Screen() const { return h.console.Screen(); }
};

TEST_F(ProgramTest, StartUpTakesAPageOfItsOwnAndEscapeAtTheBandMenuEndsWithTheRunLines) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('N').Key(keys::kEscape);
  EXPECT_EQ(RunProgram(h.console, catalog), 0);
  EXPECT_EQ(h.terminal.pagesTaken, 1);
  EXPECT_EQ(h.terminal.title, "Coaxial Cable Ferrolux By Tolvanik (v1.0a)");
  EXPECT_EQ(h.terminal.sizeColumns, 120);
  EXPECT_EQ(h.terminal.sizeRows, 43);
  // "Loading Catalog" on the start screen, before the page; no error line.
  EXPECT_EQ(h.terminal.streamLines,
            (std::vector<std::string>{"Loading Catalog", "Program Run Start: 12-09-2026  07:30:00",
                                      "  Program Run End: 12-09-2026  07:30:00", ""}));
  EXPECT_EQ(h.keyboard.Pending(), 0u);
}

TEST_F(ProgramTest, HelpRestartsTheCycleAtTheLengthPrompt) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('N').Key('?').Key('x');
  UntilKeysRunOut([&] { RunProgram(h.console, catalog); });
  EXPECT_EQ(Screen().RowText(10).substr(34, 44), "      Enter the coaxial cable length in ft: ");
  EXPECT_EQ(Screen().At(22, 26).glyph, U' ');
  EXPECT_EQ(Screen().At(1, 1).glyph, U'╔');
}

TEST_F(ProgramTest, AMissingCatalogEndsBeforeAnyPageWithTheErrorLine) {
  h.keyboard.Key('k');
  EXPECT_EQ(RunProgram(h.console, folder.Path() / "nothing-here.txt"), 0);
  EXPECT_EQ(h.terminal.pagesTaken, 0);
  EXPECT_EQ(h.terminal.title, "");
  EXPECT_EQ(h.terminal.sizeColumns, 0);
  ASSERT_EQ(h.terminal.streamLines.size(), 4u);
  EXPECT_EQ(h.terminal.streamLines[0], "Error: [53] File not found");
  EXPECT_EQ(h.terminal.streamLines[1], "Program Run Start: 12-09-2026  07:30:00");
}

TEST_F(ProgramTest, ASplitOverflowIsReportedUnderTheLoadingLineAndWaitsForAKey) {
  // Keeps the start screen's first rows as they are when the program first waits for a key.
  struct Snapshotting : Keyboard {
    const Console* console = nullptr;
    std::vector<std::string> rows;
    std::optional<Key> ReadKey(std::optional<std::chrono::milliseconds>) override {
      if (!rows.empty()) return 'k';
      for (int row = 1; row <= 5; ++row) {
        const std::string text = console->Screen().RowText(row);
        rows.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
      }
      return 'k';
    }
  } keyboard;
  Console console(h.terminal, keyboard, h.clock);
  keyboard.console = &console;
  std::string line = "f";
  for (int field = 2; field <= 40; ++field) line += "\tf";
  folder.Write("CableCatalog.txt", line + "\r\n");
  EXPECT_EQ(RunProgram(console, catalog), 0);
  EXPECT_EQ(keyboard.rows, (std::vector<std::string>{
                               "Loading Catalog", "             Error: SubScript out of range in ArgSplit Subroutine",
                               "     Array Boundry: 32", "Number of Elements: 40", ""}));
  EXPECT_EQ(h.terminal.streamLines.front(), "Error: SubScript out of range in ArgSplit Subroutine");
}

TEST_F(ProgramTest, AnInterruptEndsAtOnceWithTheRunLinesOnTheTerminalsScreen) {
  struct Interrupting : Keyboard {
    std::optional<Key> ReadKey(std::optional<std::chrono::milliseconds>) override { throw EndRequested{2, false}; }
  } interrupting;
  Console console(h.terminal, interrupting, h.clock);
  EXPECT_EQ(RunProgram(console, catalog), 130);
  EXPECT_FALSE(h.terminal.pageTaken);
  EXPECT_EQ(h.terminal.streamLines.back(), "");
  EXPECT_EQ(h.terminal.streamLines[h.terminal.streamLines.size() - 3], "Program Run Start: 12-09-2026  07:30:00");
}

TEST_F(ProgramTest, ALostTerminalEndsWithoutOutput) {
  struct Gone : Keyboard {
    std::optional<Key> ReadKey(std::optional<std::chrono::milliseconds>) override { throw EndRequested{1, true}; }
  } gone;
  Console console(h.terminal, gone, h.clock);
  EXPECT_EQ(RunProgram(console, catalog), 129);
  EXPECT_EQ(h.terminal.streamLines, (std::vector<std::string>{"Loading Catalog", ""}));
}

}  // namespace
}  // namespace ferrolux
