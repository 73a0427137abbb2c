#include "app/main_screen.hpp"

#include <gtest/gtest.h>

#include "console/headless.hpp"

namespace ferrolux {
namespace {

constexpr Colors kFrame{14, 1}, kText{15, 1}, kQuestion{15, 4};

class MainScreenTest : public ::testing::Test {
 protected:
  HeadlessConsole h;
  const ScreenModel& Screen() const { return h.console.Screen(); }
  void SetUp() override {
    h.console.UsePage(1);
    h.console.SetColor(15, 1);
  }
};

TEST_F(MainScreenTest, FrameDividerAndTitleStandWhereTheyBelong) {
  DrawMainScreen(h.console);
  struct Expect {
    int row, column;
    char32_t glyph;
    Colors colors;
  };
  const Expect cells[] = {
      {1, 1, U'╔', kFrame},   {1, 2, U'═', kFrame},    {1, 118, U'═', kFrame}, {1, 119, U'╗', kFrame},
      {2, 1, U'║', kFrame},   {2, 119, U'║', kFrame},  {41, 1, U'║', kFrame},  {42, 1, U'╚', kFrame},
      {42, 60, U'═', kFrame}, {42, 119, U'╝', kFrame}, {3, 1, U'╠', kFrame},   {3, 2, U'═', kFrame},
      {3, 118, U'═', kFrame}, {3, 119, U'╣', kFrame},  {2, 43, U'T', kText},   {2, 42, U' ', kText},
      {4, 2, U' ', kText},
  };
  for (const Expect& e : cells)
    EXPECT_EQ(Screen().At(e.row, e.column), (Cell{e.glyph, e.colors})) << e.row << "," << e.column;
  EXPECT_EQ(Screen().RowText(2).substr(0, 3 + 41 + 26), "║" + std::string(41, ' ') + "Transmission Line Ferrolux");
  for (int row = 1; row <= 43; ++row) EXPECT_EQ(Screen().At(row, 120), (Cell{U' ', kText})) << row;
  for (int column = 1; column <= 120; ++column)
    EXPECT_EQ(Screen().At(43, column), (Cell{U' ', kText})) << column;
  EXPECT_EQ(h.console.CurrentColors(), kText);
}

TEST_F(MainScreenTest, ClearWorkAreaBlanksOnlyTheInsideBelowTheDivider) {
  DrawMainScreen(h.console);
  h.console.SetColor(7, 0);
  for (int row = 4; row <= 41; ++row) {
    h.console.Locate(row, 2);
    h.console.PrintText(std::string(118, 'x'));  // over the frame's right side too
  }
  ClearWorkArea(h.console);
  EXPECT_EQ(Screen().cursor, (Position{41, 119}));
  EXPECT_EQ(h.console.CurrentColors(), kText);
  for (int row = 4; row <= 41; ++row) {
    EXPECT_EQ(Screen().At(row, 1).glyph, U'║');
    EXPECT_EQ(Screen().At(row, 119), (Cell{U'║', kFrame}));
    for (int column = 2; column <= 118; ++column) ASSERT_EQ(Screen().At(row, column), (Cell{U' ', kText}));
  }
}

TEST_F(MainScreenTest, ClosingQuestionCoversTheBottomLineInWhiteOnRed) {
  DrawMainScreen(h.console);
  h.keyboard.Keys({"x", "\x1b", "y"});
  EXPECT_EQ(AskAnotherCycle(h.console), "Y");
  EXPECT_EQ(h.terminal.bells, 2);
  const std::string question = "[ Would you like to do another? (Y/N)? ]";
  for (int i = 0; i < 40; ++i)
    EXPECT_EQ(Screen().At(42, 39 + i), (Cell{static_cast<char32_t>(question[i]), kQuestion})) << i;
  EXPECT_EQ(Screen().At(42, 38), (Cell{U'═', kFrame}));
  EXPECT_EQ(Screen().At(42, 79), (Cell{U'═', kFrame}));
  EXPECT_EQ(h.console.CurrentColors(), kText);
}

}  // namespace
}  // namespace ferrolux
