#pragma once
// A screen, or a rectangle of it, as a picture a test compares with a golden one: the glyphs as
// lines of text, and apart from them the colours as lines of one letter per cell. Each row
// starts with a line end, so that a golden picture reads as a raw string under its R"(.
// A row's end says nothing new and is left out, the area says where the row ends: blanks at
// the end of a text row, and the repeats of the last letter of a colour row.

#include <string>
#include <utility>
#include <vector>

#include "console/screen.hpp"
#include "text/charset.hpp"

namespace ferrolux::testing {

// Rows and columns count from 1, both edges included; 0 stands for the screen's last one.
struct Area {
  int top = 1, left = 1, bottom = 0, right = 0;
};

// The letter each colour pair shows as; a pair the legend lacks shows as '?'.
using Legend = std::vector<std::pair<char, Colors>>;

namespace picture_detail {

// Each row of the area as `row` writes it from the cells between the left and right edges.
template <typename RowWriter>
std::string Lines(const ScreenModel& screen, Area area, RowWriter row) {
  const int bottom = area.bottom == 0 ? screen.Rows() : area.bottom;
  const int right = area.right == 0 ? screen.Columns() : area.right;
  std::string picture;
  for (int r = area.top; r <= bottom; ++r) {
    std::vector<Cell> cells;
    for (int column = area.left; column <= right; ++column) cells.push_back(screen.At(r, column));
    picture += '\n' + row(cells);
  }
  return picture;
}

}  // namespace picture_detail

inline std::string Picture(const ScreenModel& screen, Area area = {}) {
  return picture_detail::Lines(screen, area, [](const std::vector<Cell>& cells) {
    std::string line;
    for (const Cell& cell : cells) AppendUtf8(line, cell.glyph);
    return line.erase(line.find_last_not_of(' ') + 1);
  });
}

// The glyphs of `length` cells of one row from `column` on, as one line without a line end.
inline std::string Text(const ScreenModel& screen, int row, int column, int length) {
  return Picture(screen, {row, column, row, column + length - 1}).substr(1);
}

inline std::string Colours(const ScreenModel& screen, const Legend& legend, Area area = {}) {
  return picture_detail::Lines(screen, area, [&legend](const std::vector<Cell>& cells) {
    std::string line;
    for (const Cell& cell : cells) {
      char letter = '?';
      for (const auto& [name, colors] : legend)
        if (colors == cell.colors) letter = name;
      line += letter;
    }
    while (line.size() > 1 && line[line.size() - 2] == line.back()) line.pop_back();
    return line;
  });
}

// A golden picture given row by row, for one small enough to sit on a line or two.
inline std::string Rows(const std::vector<std::string>& rows) {
  std::string picture;
  for (const std::string& row : rows) picture += '\n' + row;
  return picture;
}

}  // namespace ferrolux::testing
