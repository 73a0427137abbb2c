#include "cli/chart_output.hpp"

#include <algorithm>
#include <ostream>

#include "chart/svg_chart.hpp"
#include "chart/svg_parts.hpp"
#include "cli/file_output.hpp"
#include "report/line_limits.hpp"

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

void WriteViews(std::vector<ChartView> views, const std::vector<std::string>& notes, const std::string& svg,
                std::ostream& out) {
  if (views.empty()) return;
  if (!svg.empty()) {
    // Once in the document, below the first chart that carries notes.
    for (ChartView& view : views)
      if (auto* chart = std::get_if<chart::ChartSettings>(&view)) {
        chart->notes = notes;
        break;
      }
    std::vector<std::string> documents;
    documents.reserve(views.size());
    for (const ChartView& view : views) documents.push_back(SvgOf(view));
    return WriteFileOrOut(svg, chart::StackedSvg(documents), out);
  }
  for (std::size_t i = 0; i < views.size(); ++i) {
    if (i > 0) out << '\n';
    for (const std::string& line : TextOf(views[i])) out << line << '\n';
  }
  const bool utf8 = std::visit([](const auto& view) { return view.utf8; }, views.front());
  const bool color = std::visit([](const auto& view) { return view.color; }, views.front());
  const int width = std::visit([](const auto& view) { return view.width; }, views.front());
  OutputStyle style;
  style.utf8 = utf8, style.color = color;
  for (const std::string& line : FittedLineLimits(notes, width, style)) out << line << '\n';
}

}  // namespace ferrolux::cli
