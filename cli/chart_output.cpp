#include "cli/chart_output.hpp"

#include <algorithm>
#include <ostream>

#include "chart/svg_chart.hpp"
#include "cli/file_output.hpp"
#include "cli/line_limits.hpp"

namespace ferrolux::cli {

namespace {

constexpr int kPipeWidth = 80, kPipeHeight = 24;  // the height also the most a terminal's chart takes

}  // namespace

chart::ChartSettings ChartForOutput(const OutputStyle& style) {
  const bool sized = style.terminal && style.columns > 0 && style.rows > 0;
  chart::ChartSettings settings;
  // A terminal wider than the largest chart gets the largest, not a refusal it never asked for.
  settings.width = std::clamp(sized ? style.columns : kPipeWidth, chart::kChartNarrowest, chart::kChartLargest);
  settings.height = std::clamp(sized ? style.rows - 1 : kPipeHeight, chart::kChartLowest, kPipeHeight);
  settings.utf8 = style.utf8;
  settings.color = style.color;
  return settings;
}

void WriteChart(const chart::ChartSettings& chart, const std::string& svg, std::ostream& out) {
  if (!svg.empty()) return WriteFileOrOut(svg, chart::DrawSvgChart(chart), out);
  OutputStyle style;
  style.utf8 = chart.utf8, style.color = chart.color;
  const std::vector<std::string> notes = FittedLineLimits(chart.notes, chart.width, style);
  // The notes share the rows asked for, while the chart keeps its least height.
  chart::ChartSettings drawn = chart;
  drawn.height = std::max(chart.height - static_cast<int>(notes.size()), std::min(chart.height, chart::kChartLowest));
  for (const std::string& line : chart::DrawChart(drawn)) out << line << '\n';
  for (const std::string& line : notes) out << line << '\n';
}

}  // namespace ferrolux::cli
