#include "chart/across_axis.hpp"

#include <algorithm>
#include <cmath>

#include "chart/chart_scale.hpp"
#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

constexpr std::string_view kFrequencyUnit = "MHz";
constexpr std::string_view kLinearRangeProblem = "Cannot plot: the axis must rise.";

bool Linear(const ChartSettings& chart) { return !chart.linearUnit.empty(); }

}  // namespace

bool AcrossRangeValid(const ChartSettings& chart) {
  if (!Linear(chart)) return ChartRangeValid(chart.fromMHz, chart.toMHz);
  return std::isfinite(chart.fromMHz) && std::isfinite(chart.toMHz) && chart.toMHz > chart.fromMHz;
}

std::string_view AcrossRangeProblem(const ChartSettings& chart) {
  return Linear(chart) ? kLinearRangeProblem : kChartRangeProblem;
}

double AcrossShare(const ChartSettings& chart, double at) {
  if (!Linear(chart)) return AxisShare(at, chart.fromMHz, chart.toMHz);
  return (at - chart.fromMHz) / (chart.toMHz - chart.fromMHz);
}

double AcrossAt(const ChartSettings& chart, double share) {
  if (!Linear(chart)) return FrequencyAtShare(share, chart.fromMHz, chart.toMHz);
  return chart.fromMHz + share * (chart.toMHz - chart.fromMHz);
}

std::vector<AcrossTick> AcrossTicks(const ChartSettings& chart, int most) {
  std::vector<AcrossTick> ticks;
  if (!Linear(chart)) {
    for (const BandTick& band : BandTicksWithin(chart.fromMHz, chart.toMHz))
      ticks.push_back({band.mhz, std::string(band.label)});
    return ticks;
  }
  const LossScale scale = NiceLossScale(chart.toMHz - chart.fromMHz, std::max(most, 1));
  const auto enough = static_cast<std::size_t>(2 * std::max(most, 1));
  // The scale tops out at a million: a longer axis gets no ticks rather than millions of them.
  for (double k = std::floor(chart.fromMHz / scale.step) + 1; k * scale.step < chart.toMHz && ticks.size() <= enough;
       ++k)
    ticks.push_back({k * scale.step, FixedText(k * scale.step, scale.decimals)});
  if (ticks.size() > enough) ticks.clear();
  return ticks;
}

std::string AcrossEndText(const ChartSettings& chart, double at) {
  if (!Linear(chart)) return FrequencyText(at);
  const double size = std::abs(at);
  return FixedText(at, size == 0 || size >= 1000 ? 0 : size < 10 ? 2 : 1);
}

std::string_view AcrossUnit(const ChartSettings& chart) {
  return Linear(chart) ? std::string_view(chart.linearUnit) : kFrequencyUnit;
}

}  // namespace ferrolux::chart
