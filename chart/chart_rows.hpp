#pragma once
// The terminal chart's rows of cells, shared by the files that draw its parts.

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.hpp"

namespace ferrolux::chart {

inline constexpr int kPlain = -1;

struct Glyphs {
  std::string_view lossAxis, lossTick, corner, frequencyAxis, frequencyTick;
};
inline constexpr Glyphs kUnicodeGlyphs{"│", "┤", "└", "─", "┬"};
inline constexpr Glyphs kAsciiGlyphs{"|", "+", "+", "-", "+"};

struct Cell {
  std::string glyph = " ";
  int color = kPlain;
};
using Row = std::vector<Cell>;

// The row's text, colours as ANSI codes.
std::string RowText(const Row& row);

// Printable text from a column on, one character per cell, cut at the row's end.
void PutText(Row& row, int column, std::string_view text, int color = kPlain);

// The axis along the bottom and its labels, under a plot of `columns` cells from `left` on.
std::vector<Row> AcrossAxisRows(const ChartSettings& chart, int left, int columns);

}  // namespace ferrolux::chart
