#include "app/main_screen.hpp"

#include <gtest/gtest.h>

#include <string>

#include "console/headless.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {
namespace {

using testing::Colours;
using testing::Picture;

constexpr Colors kFrame{14, 1}, kText{15, 1}, kQuestion{15, 4};
const testing::Legend kLegend = {{'f', kFrame}, {'t', kText}, {'q', kQuestion}};

// The rows between the divider and the bottom line: the frame's sides around a blank work area.
std::string WorkArea() {
  std::string rows;
  for (int row = 4; row <= 41; ++row) rows += "\n║" + std::string(117, ' ') + "║";
  return rows;
}

class MainScreenTest : public ::testing::Test {
 protected:
  HeadlessConsole h;
  const ScreenModel& Screen() const { return h.console.Screen(); }
  void SetUp() override {
    h.console.UsePage(1);
    h.console.SetColor(15, 1);
    DrawMainScreen(h.console);
  }
};

TEST_F(MainScreenTest, FrameDividerAndTitleStandWhereTheyBelong) {
  EXPECT_EQ(Picture(Screen()), R"(
╔═════════════════════════════════════════════════════════════════════════════════════════════════════════════════════╗
║                                         Transmission Line Ferrolux                                                  ║
╠═════════════════════════════════════════════════════════════════════════════════════════════════════════════════════╣)" +
                                   WorkArea() + R"(
╚═════════════════════════════════════════════════════════════════════════════════════════════════════════════════════╝
)");
  // Frame glyphs in the frame colours, every other cell in the text colours.
  for (int row = 1; row <= 43; ++row)
    for (int column = 1; column <= 120; ++column) {
      const Cell& cell = Screen().At(row, column);
      const bool frame = std::u32string_view(U"╔═╗║╠╣╚╝").find(cell.glyph) != std::u32string_view::npos;
      ASSERT_EQ(cell.colors, frame ? kFrame : kText) << row << "," << column;
    }
  EXPECT_EQ(h.console.CurrentColors(), kText);
}

TEST_F(MainScreenTest, ClearWorkAreaBlanksOnlyTheInsideBelowTheDivider) {
  h.console.SetColor(7, 0);
  for (int row = 4; row <= 41; ++row) {
    h.console.Locate(row, 2);
    h.console.PrintText(std::string(118, 'x'));  // over the frame's right side too
  }
  ClearWorkArea(h.console);
  EXPECT_EQ(Screen().cursor, (Position{41, 119}));
  EXPECT_EQ(h.console.CurrentColors(), kText);
  EXPECT_EQ(Picture(Screen(), {4, 1, 41, 119}), WorkArea());
  std::string colours;
  for (int row = 4; row <= 41; ++row) colours += "\n" + std::string(117, 't') + "f";
  EXPECT_EQ(Colours(Screen(), kLegend, {4, 2, 41, 119}), colours);
}

TEST_F(MainScreenTest, ClosingQuestionCoversTheBottomLineInWhiteOnRed) {
  h.keyboard.Keys({'x', '\x1b', 'y'});
  EXPECT_EQ(AskAnotherCycle(h.console), "Y");
  EXPECT_EQ(h.terminal.bells, 2);
  EXPECT_EQ(Picture(Screen(), {42, 38, 42, 79}), "\n═[ Would you like to do another? (Y/N)? ]═");
  EXPECT_EQ(Colours(Screen(), kLegend, {42, 38, 42, 79}), "\nfqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqf");
  EXPECT_EQ(h.console.CurrentColors(), kText);
}

}  // namespace
}  // namespace ferrolux
