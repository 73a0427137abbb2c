#include "cli/chart_output.hpp"

#include <algorithm>

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

}  // namespace ferrolux::cli
