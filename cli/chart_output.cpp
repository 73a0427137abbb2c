#include "cli/chart_output.hpp"

#include <algorithm>
#include <ostream>

#include "chart/svg_chart.hpp"
#include "chart/svg_parts.hpp"
#include "cli/file_output.hpp"

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
  for (const std::string& line : chart::DrawChart(chart)) out << line << '\n';
}

namespace {

std::vector<std::string> TextOf(const ChartView& view) {
  if (const auto* smith = std::get_if<chart::SmithSettings>(&view)) return chart::DrawSmithChart(*smith);
  return chart::DrawChart(std::get<chart::ChartSettings>(view));
}

std::string SvgOf(const ChartView& view) {
  if (const auto* smith = std::get_if<chart::SmithSettings>(&view)) return chart::DrawSvgSmithChart(*smith);
  return chart::DrawSvgChart(std::get<chart::ChartSettings>(view));
}

}  // namespace

void WriteViews(const std::vector<ChartView>& views, const std::string& svg, std::ostream& out) {
  if (!svg.empty()) {
    std::vector<std::string> documents;
    documents.reserve(views.size());
    for (const ChartView& view : views) documents.push_back(SvgOf(view));
    return WriteFileOrOut(svg, chart::StackedSvg(documents), out);
  }
  for (std::size_t i = 0; i < views.size(); ++i) {
    if (i > 0) out << '\n';
    for (const std::string& line : TextOf(views[i])) out << line << '\n';
  }
}

}  // namespace ferrolux::cli
