#include "console/console.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "console/box.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {
namespace {

using std::chrono::milliseconds;

class ConsoleTest : public ::testing::Test {
 protected:
  HeadlessConsole h;
  Console& console = h.console;
  const ScreenModel& Screen() const { return h.console.Screen(); }
  void SetUp() override { console.UsePage(1); }
};

TEST(WaitKey, BeepsAtRefusedKeysAndReturnsTheFirstAllowedOne) {
  struct Case {
    std::vector<Key> keys;
    std::string allowed;
    std::string expected;
    int bells;
  };
  const Case cases[] = {
      {{'x', 'y'}, "YyNn", "y", 1},
      {{keys::kUp, 'N'}, "YyNn", "N", 1},
      {{keys::kUp}, "", keys::kUp.Text(), 0},
      {{keys::kDown, 'x', keys::kUp}, keys::kUp.Text(), keys::kUp.Text(), 2},  // a pair matches only a pair
      {{'H', '\x1b'}, "Yy\x1b", "\x1b", 1},
  };
  for (const Case& c : cases) {
    HeadlessConsole h;
    h.console.UsePage(1);
    h.keyboard.Keys(c.keys);
    EXPECT_EQ(h.console.WaitKey(c.allowed), c.expected);
    EXPECT_EQ(h.terminal.bells, c.bells);
    EXPECT_EQ(h.terminal.shows, 1);  // the screen is shown once, before the wait
  }
}

TEST_F(ConsoleTest, WaitKeyTimesOutWithTheEmptyTextOrReturnsAKeyAtOnce) {
  h.keyboard.Pause(milliseconds{6000}).Key('k');
  EXPECT_EQ(console.WaitKey({}, milliseconds{5000}), "");
  EXPECT_EQ(h.clock.elapsed, milliseconds{5000});
  EXPECT_EQ(console.WaitKey({}, milliseconds{5000}), "k");
  EXPECT_EQ(h.clock.elapsed, milliseconds{6000});
}

TEST_F(ConsoleTest, WaitKeyKeepsItsLimitAcrossRefusedKeys) {
  h.keyboard.Pause(milliseconds{3000}).Key('x').Pause(milliseconds{3000}).Key('y');
  EXPECT_EQ(console.WaitKey("y", milliseconds{5000}), "");
  EXPECT_EQ(h.clock.elapsed, milliseconds{5000});
  EXPECT_EQ(h.terminal.bells, 1);
}

std::vector<Key> TypedKeys(const std::string& text, const std::vector<Key>& after = {}) {
  std::vector<Key> keys;
  for (char c : text) keys.emplace_back(c);
  keys.insert(keys.end(), after.begin(), after.end());
  return keys;
}

TEST(InputLine, EditsAndScrollsTheTypedTextInItsField) {
  struct Case {
    const char* name;
    int column, lastColumn;  // the field on row 5; a "|" stands just past it
    std::vector<Key> keys;
    std::string held;
    std::string shown;  // row 5 from the field's start to the "|"
    int cursorColumn;   // after the last key, while the line is read
  };
  const std::string az = "abcdefghijklmnopqrstuvwxyz";
  const std::vector<Key> backspaces(24, keys::kBackspace);
  const Case cases[] = {
      {"fits with the cursor after it", 10, 20, TypedKeys("abcdefghij"), "abcdefghij", "abcdefghij |", 20},
      {"one more scrolls by one", 10, 20, TypedKeys("abcdefghijk"), "abcdefghijk", "bcdefghijk |", 20},
      {"the end stays in view", 10, 20, TypedKeys(az), az, "qrstuvwxyz |", 20},
      {"backspace scrolls back", 10, 20, TypedKeys(az, {keys::kBackspace}), az.substr(0, 25), "pqrstuvwxy |", 20},
      {"back inside the field", 10, 20, TypedKeys(az, backspaces), "ab", "ab         |", 12},
      {"the row's end bounds the field", 117, 500, TypedKeys("abcd"), "abcd", "bcd ", 120},
      {"backspace on an empty line does nothing", 10, 20, {keys::kBackspace, '1'}, "1", "1          |", 11},
      {"arrows and Escape edit nothing", 10, 20, TypedKeys("12", {keys::kBackspace, '3', keys::kLeft, '\x1b'}), "13",
       "13         |", 12},
  };
  for (const Case& c : cases) {
    HeadlessConsole h;
    h.console.UsePage(1);
    if (c.lastColumn < 120) {
      h.console.Locate(5, c.lastColumn + 1);
      h.console.PrintText("|");
    }
    h.console.Locate(5, c.column);
    h.keyboard.Keys(c.keys).Key(keys::kEnter);
    EXPECT_EQ(h.console.InputLine(c.lastColumn), c.held) << c.name;
    EXPECT_EQ(h.terminal.shownCursor, (Position{5, c.cursorColumn})) << c.name;
    EXPECT_EQ(h.console.Screen().RowText(5).substr(c.column - 1, c.shown.size()), c.shown) << c.name;
    EXPECT_EQ(h.console.Screen().RowText(6), std::string(120, ' ')) << c.name;
    EXPECT_EQ(h.console.Screen().cursor, (Position{6, 1})) << c.name;
  }
}

TEST_F(ConsoleTest, InputLineHoldsAtMostTenThousandCharacters) {
  console.Locate(1, 1);
  h.keyboard.Line(std::string(10005, '7'));
  EXPECT_EQ(console.InputLine().size(), 10000u);
  EXPECT_EQ(h.terminal.shows - h.terminal.repaints, 5);  // the keys past the limit changed nothing
}

TEST_F(ConsoleTest, InputLineShowsTheCursorOnlyWhileItReads) {
  console.HideCursor();
  bool visibleWhileReading = false;
  struct Spy : Keyboard {
    const ScreenModel* screen;
    bool* seen;
    std::optional<Key> ReadKey(std::optional<milliseconds>) override {
      *seen = screen->cursorVisible;
      return keys::kEnter;
    }
  } spy;
  Console spied(h.terminal, spy, h.clock);
  spied.UsePage(1);
  spied.HideCursor();
  spy.screen = &spied.Screen();
  spy.seen = &visibleWhileReading;
  spied.InputLine();
  EXPECT_TRUE(visibleWhileReading);
  EXPECT_FALSE(spied.Screen().cursorVisible);
}

TEST_F(ConsoleTest, PrintTextWrapsAtTheLastColumnAndScrollsAtTheLastRow) {
  console.Locate(43, 118);
  console.PrintText("abcd");
  EXPECT_EQ(Screen().At(42, 118).glyph, U'a');
  EXPECT_EQ(Screen().At(42, 120).glyph, U'c');
  EXPECT_EQ(Screen().At(43, 1).glyph, U'd');
  EXPECT_EQ(Screen().cursor, (Position{43, 2}));
}

TEST_F(ConsoleTest, PrintLineEndScrollsOnlyOnTheLastRow) {
  console.Locate(42, 5);
  console.PrintText("x");
  console.PrintLineEnd();
  EXPECT_EQ(Screen().cursor, (Position{43, 1}));
  console.PrintLineEnd();
  EXPECT_EQ(Screen().cursor, (Position{43, 1}));
  EXPECT_EQ(Screen().At(41, 5).glyph, U'x');
}

TEST_F(ConsoleTest, ClearScreenFillsWithTheCurrentColoursAndHomesTheCursor) {
  console.SetColor(15, 1);
  console.Locate(7, 7);
  console.ClearScreen();
  EXPECT_EQ(Screen().cursor, (Position{1, 1}));
  for (int row = 1; row <= 43; ++row)
    for (int column = 1; column <= 120; ++column) ASSERT_EQ(Screen().At(row, column), (Cell{U' ', {15, 1}}));
}

TEST_F(ConsoleTest, SetColorWithSixteenOrMoreKeepsThatHalf) {
  console.SetColor(14, 4);
  console.SetColor(16, 1);
  EXPECT_EQ(console.CurrentColors(), (Colors{14, 1}));
  console.SetColor(7, 99);
  EXPECT_EQ(console.CurrentColors(), (Colors{7, 1}));
}

TEST_F(ConsoleTest, PrintNumberPutsOneBlankAfterAndASignOrBlankBefore) {
  console.Locate(1, 1);
  console.PrintNumber(0.85, 7);
  console.PrintNumber(-2.5, 15);
  console.PrintNumber(24, 15);
  console.PrintNumber(-HUGE_VAL, 7);
  console.PrintNumber(NAN, 7);
  console.PrintNumber(HUGE_VAL, 7);
  EXPECT_EQ(Screen().RowText(1).substr(0, 29), " .85 -2.5  24 -inf  nan  inf ");
}

TEST_F(ConsoleTest, ControlBytesShowAsPictureCharacters) {
  console.Locate(1, 1);
  console.PrintText(std::string("\x01\x1b\x7f\x81\x80\xe9", 6));
  EXPECT_EQ(testing::Text(Screen(), 1, 1, 6), "☺←⌂ü€é");
}

TEST(ConsoleStartScreen, WritesGoToTheStartScreenAsLinesUntilAPageIsTaken) {
  HeadlessConsole h;
  h.console.PrintText("Loading Catalog");
  h.console.PrintLineEnd();
  h.keyboard.Line(std::string(130, 'x'));
  EXPECT_EQ(h.console.InputLine(20), std::string(130, 'x'));  // no field to scroll in a stream
  EXPECT_EQ(h.terminal.streamLines, (std::vector<std::string>{"Loading Catalog", std::string(130, 'x'), ""}));
  h.console.UsePage(1);
  h.console.PrintText("on the page");
  EXPECT_EQ(h.terminal.streamLines.size(), 3u);
  EXPECT_TRUE(h.terminal.pageTaken);
  h.console.LeavePage();
  h.console.PrintText("after");
  EXPECT_EQ(h.terminal.streamLines.back(), "after");
  EXPECT_FALSE(h.terminal.pageTaken);
}

TEST(ConsoleClock, DateAndTimeTexts) {
  HeadlessConsole h;
  h.clock.now = {2026, 3, 4, 5, 6, 7};
  EXPECT_EQ(h.console.DateText(), "03-04-2026");
  EXPECT_EQ(h.console.TimeText(), "05:06:07");
}

}  // namespace
}  // namespace ferrolux
