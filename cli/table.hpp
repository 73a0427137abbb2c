#pragma once
// Plain-text tables: columns two blanks apart, numbers to the right, and names cut with an
// ellipsis when the table must fit a terminal's width.

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace ferrolux::cli {

struct TableColumn {
  std::string heading;
  bool rightAligned = false;
  bool shrinkable = false;  // may be cut to fit the width
};

using TableRow = std::vector<std::string>;  // UTF-8 cells, one per column

// The heading line and one line per row, with no trailing blanks. When `width` is above 0,
// shrinkable columns give up cells, the widest first, until every line fits or they are down
// to a few cells.
std::vector<std::string> LayOutTable(const std::vector<TableColumn>& columns, const std::vector<TableRow>& rows,
                                     int width, bool utf8);

// The laid-out lines on `out`, the heading in bold when colours are on.
void WriteTableLines(std::ostream& out, const std::vector<std::string>& lines, bool color);

// The same table at its natural width for `count` rows that `row` makes one at a time, twice
// each (the first pass finds the widths): a table of a million rows is never held whole.
void WriteTableRowByRow(std::ostream& out, const std::vector<TableColumn>& columns, size_t count,
                        const std::function<TableRow(size_t)>& row, bool utf8, bool color);

}  // namespace ferrolux::cli
