#include "console/box.hpp"

#include <gtest/gtest.h>

#include "console/headless.hpp"

namespace ferrolux {
namespace {

// The box as rows of text over a 10 × 8 patch of screen filled with dots.
std::vector<std::string> DrawOnDots(int top, int left, int bottom, int right, int style) {
  HeadlessConsole h;
  h.console.UsePage(1);
  for (int row = 1; row <= 8; ++row) {
    h.console.Locate(row, 1);
    h.console.PrintText(std::string(10, '.'));
  }
  DrawBox(h.console, top, left, bottom, right, style, 14, 1);
  std::vector<std::string> rows;
  for (int row = 1; row <= 8; ++row) rows.push_back(h.console.Screen().RowText(row));
  return rows;
}

std::string Cut(const std::string& utf8Row) {
  // Rows hold multi-byte glyphs; compare the first ten glyphs only.
  std::string out;
  int glyphs = 0;
  for (size_t i = 0; i < utf8Row.size() && glyphs < 10; ++glyphs) {
    size_t length = 1;
    const auto lead = static_cast<unsigned char>(utf8Row[i]);
    if (lead >= 0xf0) length = 4;
    else if (lead >= 0xe0) length = 3;
    else if (lead >= 0xc0) length = 2;
    out += utf8Row.substr(i, length);
    i += length;
  }
  return out;
}

TEST(DrawBox, DrawsOnlyTheOutline) {
  struct Case {
    const char* name;
    int top, left, bottom, right, style;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"single box keeps the inside", 2, 2, 5, 6, 1,
       {"..........", ".┌───┐....", ".│...│....", ".│...│....", ".└───┘....", ".........."}},
      {"double style", 1, 1, 3, 4, 2, {"╔══╗......", "║..║......", "╚══╝......", ".........."}},
      {"bottom right below top", 2, 1, 3, 3, 1, {"..........", "┌─┐.......", "└─┘.......", ".........."}},
      {"bottom at or above top goes below top", 2, 1, 1, 3, 1,
       {"..........", "┌─┐.......", "└─┘.......", ".........."}},
      {"right next to left", 1, 1, 3, 2, 1, {"┌┐........", "││........", "└┘........", ".........."}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> rows = DrawOnDots(c.top, c.left, c.bottom, c.right, c.style);
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(Cut(rows[i]), c.expected[i]) << c.name << " row " << i + 1;
  }
}

TEST(DrawBox, LeavesTheBoxColoursAndTheCursorBelowTheBox) {
  HeadlessConsole h;
  h.console.UsePage(1);
  DrawBox(h.console, 1, 1, 42, 119, kDoubleLine, 14, 1);
  EXPECT_EQ(h.console.CurrentColors(), (Colors{14, 1}));
  EXPECT_EQ(h.console.Screen().cursor, (Position{43, 1}));
  EXPECT_EQ(h.console.Screen().At(42, 119), (Cell{U'╝', {14, 1}}));
  for (int row = 1; row <= 43; ++row) EXPECT_EQ(h.console.Screen().At(row, 120).glyph, U' ');
  for (int column = 1; column <= 120; ++column) EXPECT_EQ(h.console.Screen().At(43, column).glyph, U' ');
}

}  // namespace
}  // namespace ferrolux
