#include "cli/table.hpp"

#include <algorithm>
#include <ostream>

#include "cli/output.hpp"

namespace ferrolux::cli {

namespace {

constexpr int kGap = 2;
constexpr int kTightGap = 1;  // when names cut to their narrowest still leave the table too wide
constexpr int kNarrowestCut = 8;

std::vector<int> HeadingWidths(const std::vector<TableColumn>& columns) {
  std::vector<int> widths;
  widths.reserve(columns.size());
  for (const TableColumn& column : columns) widths.push_back(DisplayWidth(column.heading));
  return widths;
}

void WidenFor(std::vector<int>& widths, const TableRow& row) {
  for (size_t c = 0; c < row.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
}

std::vector<int> NaturalWidths(const std::vector<TableColumn>& columns, const std::vector<TableRow>& rows) {
  std::vector<int> widths = HeadingWidths(columns);
  for (const TableRow& row : rows) WidenFor(widths, row);
  return widths;
}

TableRow Headings(const std::vector<TableColumn>& columns) {
  TableRow headings;
  for (const TableColumn& column : columns) headings.push_back(column.heading);
  return headings;
}

// The width of a line; an empty last column adds no gap, since lines end without blanks.
int TotalWidth(const std::vector<int>& widths, int gap) {
  int total = 0;
  for (int w : widths) total += w;
  const auto used = static_cast<int>(widths.size()) - (!widths.empty() && widths.back() == 0 ? 1 : 0);
  return total + gap * (used - 1);
}

// Takes one cell at a time from the widest shrinkable column, so long names share the cut.
bool ShrinkToFit(const std::vector<TableColumn>& columns, std::vector<int>& widths, int width, int gap) {
  while (TotalWidth(widths, gap) > width) {
    int widest = -1;
    for (size_t c = 0; c < columns.size(); ++c)
      if (columns[c].shrinkable && widths[c] > kNarrowestCut && (widest < 0 || widths[c] > widths[widest]))
        widest = static_cast<int>(c);
    if (widest < 0) return false;
    --widths[widest];
  }
  return true;
}

std::string Line(const std::vector<TableColumn>& columns, const TableRow& cells, const std::vector<int>& widths,
                 int gap, bool utf8) {
  std::string line;
  for (size_t c = 0; c < columns.size(); ++c) {
    const std::string text = FitWidth(c < cells.size() ? cells[c] : "", widths[c], utf8);
    const std::string pad(static_cast<size_t>(widths[c] - DisplayWidth(text)), ' ');
    if (c > 0) line += std::string(static_cast<size_t>(gap), ' ');
    line += columns[c].rightAligned ? pad + text : text + pad;
  }
  return line.erase(line.find_last_not_of(' ') + 1);
}

}  // namespace

std::vector<std::string> LayOutTable(const std::vector<TableColumn>& columns, const std::vector<TableRow>& rows,
                                     int width, bool utf8) {
  const std::vector<int> natural = NaturalWidths(columns, rows);
  std::vector<int> widths = natural;
  int gap = kGap;
  if (width > 0 && !ShrinkToFit(columns, widths, width, gap)) {
    widths = natural;
    gap = kTightGap;
    ShrinkToFit(columns, widths, width, gap);
  }
  std::vector<std::string> lines{Line(columns, Headings(columns), widths, gap, utf8)};
  for (const TableRow& row : rows) lines.push_back(Line(columns, row, widths, gap, utf8));
  return lines;
}

void WriteTableLines(std::ostream& out, const std::vector<std::string>& lines, bool color) {
  for (std::size_t i = 0; i < lines.size(); ++i) out << (i == 0 ? Painted(lines[i], "1", color) : lines[i]) << '\n';
}

void WriteTableRowByRow(std::ostream& out, const std::vector<TableColumn>& columns, size_t count,
                        const std::function<TableRow(size_t)>& row, bool utf8, bool color) {
  std::vector<int> widths = HeadingWidths(columns);
  for (size_t i = 0; i < count; ++i) WidenFor(widths, row(i));
  out << Painted(Line(columns, Headings(columns), widths, kGap, utf8), "1", color) << '\n';
  for (size_t i = 0; i < count; ++i) out << Line(columns, row(i), widths, kGap, utf8) << '\n';
}

}  // namespace ferrolux::cli
