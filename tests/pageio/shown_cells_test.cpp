#include "pageio/shown_cells.hpp"

#include <gtest/gtest.h>

namespace ferrolux {
namespace {

std::vector<Cell> Text(std::u32string_view glyphs) {
  std::vector<Cell> cells;
  for (char32_t glyph : glyphs) cells.push_back(Cell{glyph, Colors{}});
  return cells;
}

TEST(ShownCells, YieldOnlyTheRunsThatChanged) {
  ShownCells shown;
  ScreenModel screen(20, 2);
  EXPECT_EQ(shown.Changes(screen, false).size(), 2U);  // a new size: every row
  EXPECT_TRUE(shown.Changes(screen, false).empty());
  screen.Put(1, 2, Cell{U'a', Colors{}});
  screen.Put(1, 3, Cell{U'b', Colors{}});
  screen.Put(1, 6, Cell{U'c', Colors{}});  // a short gap: written again with the run
  screen.Put(1, 20, Cell{U'd', Colors{}});
  screen.Put(2, 6, Cell{U' ', Colors{14, 1}});
  const std::vector<CellRun> expected{{1, 2, Text(U"ab  c")}, {1, 20, Text(U"d")}, {2, 6, {Cell{U' ', Colors{14, 1}}}}};
  EXPECT_EQ(shown.Changes(screen, false), expected);
  EXPECT_EQ(shown.Changes(screen, true).size(), 2U);  // fresh: every row again
}

}  // namespace
}  // namespace ferrolux
