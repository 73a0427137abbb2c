#include "terminal/painter.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "support/ansi_codes.hpp"

namespace ferrolux {
namespace {

constexpr Colors kText{15, 1};
constexpr Colors kFrame{14, 1};
constexpr Colors kBar{14, 4};
constexpr Colors kQuestion{15, 4};

void Write(ScreenModel& screen, int row, int column, const std::string& text, Colors colors) {
  for (size_t i = 0; i < text.size(); ++i)
    screen.Put(row, column + static_cast<int>(i), Cell{static_cast<char32_t>(text[i]), colors});
}

// A 20 by 5 screen in the text colours with a word in the frame colours, painted once, cursor hidden.
struct Painted {
  testing::AnsiCodes codes;
  ScreenPainter painter{codes};
  ScreenModel screen{20, 5};
  std::string first;
  Painted() {
    screen.Fill(kText);
    screen.cursorVisible = false;
    Write(screen, 2, 3, "ab", kFrame);
    first = painter.Paint(screen, true);
  }
};

TEST(ScreenPainter, AFreshPaintClearsInTheMostCommonColoursAndWritesOnlyTheRest) {
  Painted p;
  EXPECT_EQ(p.first, "\x1b[97;44m\x1b[H\x1b[2J\r\n  \x1b[93mab\x1b[?25l");
}

struct EditCase {
  std::string name;
  std::function<void(ScreenModel&)> edit;
  std::string bytes;
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }

class ScreenPainterEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(ScreenPainterEdit, SendsOnlyWhatChanged) {
  Painted p;
  GetParam().edit(p.screen);
  EXPECT_EQ(p.painter.Paint(p.screen, false), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ScreenPainterEdit,
    ::testing::Values(
        EditCase{"AnUnchangedScreenCostsNothing", [](ScreenModel&) {}, ""},
        // The cursor already stands after "ab": no move, no colour change.
        EditCase{"TheNextCellInTheSameColours", [](ScreenModel& s) { Write(s, 2, 5, "c", kFrame); }, "c"},
        EditCase{"OnlyTheForegroundChanges", [](ScreenModel& s) { Write(s, 2, 5, "c", kText); }, "\x1b[97mc"},
        EditCase{"OnlyTheBackgroundChanges", [](ScreenModel& s) { Write(s, 2, 5, "c", kBar); }, "\x1b[41mc"},
        EditCase{"BothHalvesChangeInOneSequence", [](ScreenModel& s) { Write(s, 2, 5, "c", kQuestion); },
                 "\x1b[97;41mc"},
        // A blank whose background is right needs no colour change, whatever its foreground.
        EditCase{"ABlankKeepsTheCurrentForeground", [](ScreenModel& s) { Write(s, 2, 3, " ", kText); }, "\b\b "},
        EditCase{"FarLeftIsAColumnMove", [](ScreenModel& s) { Write(s, 2, 1, "x", kFrame); }, "\x1b[1Gx"},
        EditCase{"ABlankInAnotherBackgroundTakesItsOwnColours", [](ScreenModel& s) { Write(s, 2, 5, " ", kQuestion); },
                 "\x1b[97;41m "},
        EditCase{"AForegroundChangeOnABlankIsInvisible", [](ScreenModel& s) { Write(s, 4, 4, " ", kFrame); }, ""},
        // Two unchanged cells in the current colours are cheaper to write again than to jump.
        EditCase{"AShortGapIsWrittenAgain",
                 [](ScreenModel& s) { Write(s, 2, 2, "x", kFrame), Write(s, 2, 5, "y", kFrame); }, "\b\b\bxaby"},
        EditCase{"ALongGapIsJumped", [](ScreenModel& s) { Write(s, 2, 5, "c", kFrame), Write(s, 2, 15, "d", kFrame); },
                 "c\x1b[9Cd"},
        EditCase{"TheRowBelowStartsWithALineEnd", [](ScreenModel& s) { Write(s, 3, 1, "e", kFrame); }, "\r\ne"},
        EditCase{"TwoRowsBelowAreTwoLineEnds", [](ScreenModel& s) { Write(s, 4, 1, "e", kFrame); }, "\r\n\r\ne"},
        EditCase{"ARowAboveIsReachedDirectly", [](ScreenModel& s) { Write(s, 1, 9, "f", kFrame); }, "\x1b[1;9Hf"},
        EditCase{"ALongRunOfBlanksIsErased", [](ScreenModel& s) { Write(s, 4, 1, std::string(16, ' '), kBar); },
                 "\r\n\r\n\x1b[41m\x1b[16X"},
        EditCase{"AShortRunOfBlanksIsWritten", [](ScreenModel& s) { Write(s, 4, 1, "    ", kBar); },
                 "\r\n\r\n\x1b[41m    "},
        // Terminals disagree on where the cursor stands after the last column.
        EditCase{"AfterTheLastColumnTheNextMoveIsAbsolute",
                 [](ScreenModel& s) { Write(s, 3, 20, "z", kFrame), Write(s, 4, 1, "w", kFrame); },
                 "\x1b[3;20Hz\x1b[4;1Hw"},
        EditCase{"AVisibleCursorIsPlacedAndShown",
                 [](ScreenModel& s) {
                   s.cursor = {3, 7};
                   s.cursorVisible = true;
                 },
                 "\x1b[3;7H\x1b[?25h"}));

TEST(ScreenPainter, TheCursorIsPlacedButNotShownAgain) {
  Painted p;
  p.screen.cursorVisible = true;
  p.painter.Paint(p.screen, false);
  p.screen.cursor = {5, 2};
  EXPECT_EQ(p.painter.Paint(p.screen, false), "\x1b[5;2H");
}

// Both colour halves are set again: after a stop another program may have changed them.
TEST(ScreenPainter, ANewSizeIsPaintedAfresh) {
  Painted p;
  ScreenModel smaller(10, 3);
  smaller.Fill(kBar);
  smaller.cursorVisible = false;
  EXPECT_EQ(p.painter.Paint(smaller, false), "\x1b[93;41m\x1b[H\x1b[2J\x1b[?25l");
}

// Rows that name themselves move by one row: the terminal scrolls them instead of a repaint,
// and the row that comes in is written where the scroll left the cursor.
TEST(ScreenPainter, RowsThatMovedByOneAreScrolledNotRepainted) {
  struct Case {
    const char* name;
    int first, shift;  // four rows from `first` on show their own number, then their number plus `shift`
    std::string bytes;
  };
  const Case cases[] = {
      {"up", 1, 1, "\x1b[1;4r\x1b[4;1H\nrow 5\x1b[1;5r"},
      {"down", 2, -1, "\x1b[2;5r\x1b[2;1H\x1bMrow 1\x1b[1;5r"},
  };
  for (const Case& c : cases) {
    testing::AnsiCodes codes;
    ScreenPainter painter(codes);
    ScreenModel screen(20, 5);
    screen.Fill(kText);
    screen.cursorVisible = false;
    for (int row = c.first; row < c.first + 4; ++row) Write(screen, row, 1, "row " + std::to_string(row), kText);
    painter.Paint(screen, true);
    for (int row = c.first; row < c.first + 4; ++row)
      Write(screen, row, 1, "row " + std::to_string(row + c.shift), kText);
    EXPECT_EQ(painter.Paint(screen, false), c.bytes) << c.name;
  }
}

TEST(ScreenPainter, WithoutEraseBlanksAreWritten) {
  Painted p;
  p.codes.canErase = false;
  Write(p.screen, 4, 1, std::string(16, ' '), kBar);
  EXPECT_EQ(p.painter.Paint(p.screen, false), "\r\n\r\n\x1b[41m" + std::string(16, ' '));
}

// A terminal that clears in its own colours leaves every cell to be written.
TEST(ScreenPainter, ATerminalThatClearsInItsOwnColoursGetsEveryCell) {
  testing::AnsiCodes codes;
  codes.erasesInBackground = false;
  codes.canErase = false;
  ScreenPainter painter(codes);
  ScreenModel screen(4, 2);
  screen.Fill(kText);
  screen.cursorVisible = false;
  EXPECT_EQ(painter.Paint(screen, true), "\x1b[H\x1b[2J\x1b[97;44m    \x1b[2;1H    \x1b[?25l");
}

}  // namespace
}  // namespace ferrolux
