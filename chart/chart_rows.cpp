#include "chart/chart_rows.hpp"

#include <algorithm>
#include <utility>

#include "chart/across_axis.hpp"
#include "chart/chart_scale.hpp"
#include "text/cells.hpp"
#include "text/charset.hpp"

namespace ferrolux::chart {

namespace {

constexpr int kCellsPerTick = 10;  // on a linear axis across, room for a label and a gap

std::string Sgr(int color) { return SgrCode(color == kPlain ? "0" : "38;5;" + std::to_string(color)); }

}  // namespace

std::string RowText(const Row& row) {
  std::string out;
  int color = kPlain;
  for (const Cell& cell : row) {
    if (cell.color != color) out += Sgr(cell.color);
    color = cell.color;
    out += cell.glyph;
  }
  if (color != kPlain) out += Sgr(kPlain);
  return out;
}

void PutText(Row& row, int column, std::string_view text, int color) {
  for (std::size_t at = 0; at < text.size() && column < static_cast<int>(row.size()); ++column) {
    const std::size_t length = DecodeUtf8(text.substr(at)).length;
    if (column >= 0) row[column] = {std::string(text.substr(at, length)), color};
    at += length;
  }
}

namespace {

struct TickCell {
  int column;  // in the row, not the plot
  std::string label;
};

std::vector<TickCell> TickCells(const ChartSettings& chart, int left, int columns) {
  std::vector<TickCell> ticks;
  for (AcrossTick& tick : AcrossTicks(chart, columns / kCellsPerTick)) {
    const double share = AcrossShare(chart, tick.at);
    ticks.push_back({left + std::min(columns - 1, static_cast<int>(share * columns)), std::move(tick.label)});
  }
  return ticks;
}

Row AxisLineRow(const std::vector<TickCell>& ticks, int left, const ChartSettings& chart) {
  const Glyphs& glyphs = chart.utf8 ? kUnicodeGlyphs : kAsciiGlyphs;
  Row row(static_cast<std::size_t>(chart.width));
  PutText(row, left - 1, glyphs.corner);
  for (int column = left; column < chart.width; ++column) PutText(row, column, glyphs.frequencyAxis);
  for (const TickCell& tick : ticks) PutText(row, tick.column, glyphs.frequencyTick);
  return row;
}

AxisLabel CentredLabel(std::string text, int column) {
  const int width = DisplayWidth(text);
  const int start = column - (width - 1) / 2;  // an even width leans right of the column
  return {std::move(text), static_cast<double>(start), static_cast<double>(width)};
}

// Both ends of the range, then the ticks' labels that fit beside them.
Row AxisLabelRow(const std::vector<TickCell>& ticks, int left, const ChartSettings& chart) {
  const int unitStart = chart.width - DisplayWidth(AcrossUnit(chart));
  std::vector<AxisLabel> labels{CentredLabel(AcrossEndText(chart, chart.fromMHz), left),
                                CentredLabel(AcrossEndText(chart, chart.toMHz), chart.width - 1)};
  labels.reserve(ticks.size() + 2);
  for (const TickCell& tick : ticks) labels.push_back(CentredLabel(tick.label, tick.column));
  PlaceAxisLabels(labels, 0, unitStart - 1, 1);
  Row row(static_cast<std::size_t>(chart.width));
  for (const AxisLabel& label : labels)
    if (label.shown) PutText(row, static_cast<int>(label.start), label.text);
  PutText(row, unitStart, AcrossUnit(chart));
  return row;
}

}  // namespace

std::vector<Row> AcrossAxisRows(const ChartSettings& chart, int left, int columns) {
  const auto ticks = TickCells(chart, left, columns);
  return {AxisLineRow(ticks, left, chart), AxisLabelRow(ticks, left, chart)};
}

}  // namespace ferrolux::chart
