#pragma once
// Plain-text tables: columns two blanks apart, numbers to the right, names cut with an ellipsis
// when the table must fit a terminal's width, and cells painted once the layout has measured them.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace ferrolux {

struct TableColumn {
  std::string heading;
  bool rightAligned = false;
  bool shrinkable = false;  // may be cut to fit the width
};

using TableRow = std::vector<std::string>;  // UTF-8 cells, one per column

enum class CellColor { kPlain, kGreen, kYellow, kRed };

// What a cell is beyond its text.
struct CellLook {
  CellColor color = CellColor::kPlain;
  bool bar = false;  // repeats a figure of its row: emptied when the table does not fit with it
};
using RowLooks = std::vector<CellLook>;  // one per column; a row may give fewer

struct TableStyle {
  int width = 0;  // the lines must fit this many cells; 0: any width
  bool utf8 = true;
  bool color = false;  // the heading in bold, cells in their colours
  int gap = 2;         // blanks between columns
};

// The heading line and one line per row, with no trailing blanks. When the style has a width,
// shrinkable columns give up cells, the widest first, until every line fits or they are down to a
// few cells; then the gaps narrow; then the bars go. `looks` holds one entry per row, or none.
void WriteTable(std::ostream& out, const std::vector<TableColumn>& columns, std::vector<TableRow> rows,
                const TableStyle& style, const std::vector<RowLooks>& looks = {});

// The same table at its natural width for `count` rows that `row` makes one at a time, twice
// each (the first pass finds the widths): a table of a million rows is never held whole.
void WriteTableRowByRow(std::ostream& out, const std::vector<TableColumn>& columns, size_t count,
                        const std::function<TableRow(size_t)>& row, bool utf8, bool color);

}  // namespace ferrolux
