#include "console/box.hpp"

#include <gtest/gtest.h>

#include "console/headless.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {
namespace {

using testing::Picture;

// The box over a 10-column patch of screen filled with dots, as a picture of `rows` rows.
std::string DrawOnDots(int top, int left, int bottom, int right, int style, int rows) {
  HeadlessConsole h;
  h.console.UsePage(1);
  for (int row = 1; row <= 8; ++row) {
    h.console.Locate(row, 1);
    h.console.PrintText(std::string(10, '.'));
  }
  DrawBox(h.console, top, left, bottom, right, style, 14, 1);
  return Picture(h.console.Screen(), {1, 1, rows, 10});
}

TEST(DrawBox, DrawsOnlyTheOutline) {
  struct Case {
    const char* name;
    int top, left, bottom, right, style;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"single box keeps the inside",
       2,
       2,
       5,
       6,
       1,
       {"..........", ".┌───┐....", ".│...│....", ".│...│....", ".└───┘....", ".........."}},
      {"double style", 1, 1, 3, 4, 2, {"╔══╗......", "║..║......", "╚══╝......", ".........."}},
      {"bottom right below top", 2, 1, 3, 3, 1, {"..........", "┌─┐.......", "└─┘.......", ".........."}},
      {"bottom at or above top goes below top",
       2,
       1,
       1,
       3,
       1,
       {"..........", "┌─┐.......", "└─┘.......", ".........."}},
      {"right next to left", 1, 1, 3, 2, 1, {"┌┐........", "││........", "└┘........", ".........."}},
  };
  for (const Case& c : cases) {
    const int rows = static_cast<int>(c.expected.size());
    EXPECT_EQ(DrawOnDots(c.top, c.left, c.bottom, c.right, c.style, rows), testing::Rows(c.expected)) << c.name;
  }
}

TEST(DrawBox, LeavesTheBoxColoursAndTheCursorBelowTheBox) {
  HeadlessConsole h;
  h.console.UsePage(1);
  DrawBox(h.console, 1, 1, 42, 119, kDoubleLine, 14, 1);
  EXPECT_EQ(h.console.CurrentColors(), (Colors{14, 1}));
  EXPECT_EQ(h.console.Screen().cursor, (Position{43, 1}));
  EXPECT_EQ(h.console.Screen().At(42, 119), (Cell{U'╝', {14, 1}}));
  EXPECT_EQ(Picture(h.console.Screen(), {1, 120, 43, 120}), std::string(43, '\n'));  // nothing right of it
  EXPECT_EQ(testing::Text(h.console.Screen(), 43, 1, 120), "");                      // nor below
}

}  // namespace
}  // namespace ferrolux
