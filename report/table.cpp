#include "report/table.hpp"

#include <algorithm>
#include <ostream>

#include "report/output.hpp"

namespace ferrolux {

namespace {

constexpr int kTightGap = 1;  // when names cut to their narrowest still leave the table too wide
constexpr int kNarrowestCut = 8;
constexpr char kBold[] = "1";

struct Layout {
  std::vector<int> widths;
  int gap = 0;
};

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
int TotalWidth(const Layout& layout) {
  int total = 0;
  for (int w : layout.widths) total += w;
  const std::vector<int>& widths = layout.widths;
  const auto used = static_cast<int>(widths.size()) - (!widths.empty() && widths.back() == 0 ? 1 : 0);
  return total + layout.gap * (used - 1);
}

// Takes one cell at a time from the widest shrinkable column, so long names share the cut.
bool ShrinkToFit(const std::vector<TableColumn>& columns, Layout& layout, int width) {
  std::vector<int>& widths = layout.widths;
  while (TotalWidth(layout) > width) {
    int widest = -1;
    for (size_t c = 0; c < columns.size(); ++c)
      if (columns[c].shrinkable && widths[c] > kNarrowestCut && (widest < 0 || widths[c] > widths[widest]))
        widest = static_cast<int>(c);
    if (widest < 0) return false;
    --widths[widest];
  }
  return true;
}

// The natural widths, cut to the style's width where it has one: first with the usual gap, then
// with a tight one. Whether the lines fit in the end.
bool FitLayout(const std::vector<TableColumn>& columns, const std::vector<TableRow>& rows, const TableStyle& style,
               Layout& layout) {
  const std::vector<int> natural = NaturalWidths(columns, rows);
  layout = {natural, style.gap};
  if (style.width <= 0 || ShrinkToFit(columns, layout, style.width)) return true;
  layout = {natural, kTightGap};
  return ShrinkToFit(columns, layout, style.width);
}

const char* ColorCode(CellColor color) {
  switch (color) {
    case CellColor::kGreen: return "32";
    case CellColor::kYellow: return "33";
    case CellColor::kRed: return "31";
    case CellColor::kPlain: break;
  }
  return "";
}

std::string Line(const std::vector<TableColumn>& columns, const TableRow& cells, const Layout& layout, bool utf8,
                 const RowLooks& looks = {}, bool color = false) {
  std::string line;
  for (size_t c = 0; c < columns.size(); ++c) {
    const int width = layout.widths[c];
    std::string text = FitWidth(c < cells.size() ? cells[c] : "", width, utf8);
    const std::string pad(static_cast<size_t>(width - DisplayWidth(text)), ' ');
    const CellColor paint = c < looks.size() ? looks[c].color : CellColor::kPlain;
    if (color && paint != CellColor::kPlain && !text.empty()) text = Painted(text, ColorCode(paint), true);
    if (c > 0) line += std::string(static_cast<size_t>(layout.gap), ' ');
    line += columns[c].rightAligned ? pad + text : text + pad;
  }
  return line.erase(line.find_last_not_of(' ') + 1);
}

// Empties the bars, which repeat a figure of their row, for a table too wide with them.
bool DropBars(std::vector<TableRow>& rows, const std::vector<RowLooks>& looks) {
  bool dropped = false;
  for (size_t r = 0; r < rows.size() && r < looks.size(); ++r)
    for (size_t c = 0; c < rows[r].size() && c < looks[r].size(); ++c)
      if (looks[r][c].bar && !rows[r][c].empty()) {
        rows[r][c].clear();
        dropped = true;
      }
  return dropped;
}

int WidestLine(const std::vector<TableColumn>& columns, const std::vector<TableRow>& rows, const Layout& layout,
               bool utf8) {
  int widest = DisplayWidth(Line(columns, Headings(columns), layout, utf8));
  for (const TableRow& row : rows) widest = std::max(widest, DisplayWidth(Line(columns, row, layout, utf8)));
  return widest;
}

}  // namespace

void WriteTable(std::ostream& out, const std::vector<TableColumn>& columns, std::vector<TableRow> rows,
                const TableStyle& style, const std::vector<RowLooks>& looks) {
  Layout layout;
  FitLayout(columns, rows, style, layout);
  // Part numbers stay whole (--cable takes them): when they do not fit, the bars go first.
  if (style.width > 0 && WidestLine(columns, rows, layout, style.utf8) > style.width && DropBars(rows, looks))
    FitLayout(columns, rows, style, layout);
  out << Painted(Line(columns, Headings(columns), layout, style.utf8), kBold, style.color) << '\n';
  for (size_t r = 0; r < rows.size(); ++r)
    out << Line(columns, rows[r], layout, style.utf8, r < looks.size() ? looks[r] : RowLooks{}, style.color) << '\n';
}

void WriteTableRowByRow(std::ostream& out, const std::vector<TableColumn>& columns, size_t count,
                        const std::function<TableRow(size_t)>& row, bool utf8, bool color) {
  Layout layout{HeadingWidths(columns), TableStyle{}.gap};
  for (size_t i = 0; i < count; ++i) WidenFor(layout.widths, row(i));
  out << Painted(Line(columns, Headings(columns), layout, utf8), kBold, color) << '\n';
  for (size_t i = 0; i < count; ++i) out << Line(columns, row(i), layout, utf8) << '\n';
}

}  // namespace ferrolux
