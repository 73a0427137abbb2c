#include "chart/tdr_view.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

// The sample at a distance, straight between its neighbours; nothing drawn past either end.
double SampleAt(const std::vector<double>& samples, double spacing, double distance) {
  const double at = distance / spacing;
  if (samples.empty() || !(at >= 0) || at > static_cast<double>(samples.size() - 1))
    return std::numeric_limits<double>::quiet_NaN();
  const auto before = std::min(static_cast<std::size_t>(at), samples.size() - 1);
  if (before + 1 == samples.size()) return samples[before];
  const double part = at - static_cast<double>(before);
  return samples[before] + part * (samples[before + 1] - samples[before]);
}

void SpanDistance(ChartSettings& chart, const TdrViewInput& input, std::size_t samples) {
  chart.linearUnit = input.unit;
  chart.fromMHz = 0;
  chart.toMHz = static_cast<double>(samples > 1 ? samples - 1 : 1) * input.spacing;
}

std::string Title(const std::string& what, const TdrViewInput& input) {
  std::string title = what + " against distance, " + input.how;
  return input.through.empty() ? title : title + ", through " + input.through;
}

std::string PeakText(const TdrViewPeak& peak, const TdrViewInput& input) {
  const double shown = input.signedReflection ? peak.reflection : std::abs(peak.reflection);
  const std::string size = peak.capped ? FixedText(shown, 0) + " (capped)" : FixedText(shown, 2);
  return size + " at " + FixedText(peak.distance, 2) + " " + input.unit;
}

}  // namespace

ChartSettings TdrReflectionView(const TdrViewInput& input, ChartSettings frame) {
  ChartSettings chart = std::move(frame);
  SpanDistance(chart, input, input.reflection.size());
  const std::string gamma = chart.utf8 ? "Γ" : "G";
  chart.unit = input.signedReflection ? gamma : "|" + gamma + "|";
  chart.title = Title("Reflection", input);
  chart.signedValues = chart.zeroLine = input.signedReflection;
  const std::string label = input.signedReflection ? gamma + " (up: higher impedance or open; down: lower or short)"
                                                   : "|" + gamma + "| (an open and a short alike)";
  chart.series = {{label, [&input](double distance) { return SampleAt(input.reflection, input.spacing, distance); }}};
  for (std::size_t i = 0; i < input.peaks.size() && i < kMostTdrPeakLabels; ++i) {
    const TdrViewPeak& peak = input.peaks[i];
    const double value = input.signedReflection ? peak.reflection : std::abs(peak.reflection);
    chart.labels.push_back({0, peak.distance, value, PeakText(peak, input)});
  }
  return chart;
}

ChartSettings TdrImpedanceView(const TdrViewInput& input, ChartSettings frame) {
  ChartSettings chart = std::move(frame);
  SpanDistance(chart, input, input.impedanceOhms.size());
  chart.unit = chart.utf8 ? "Ω" : "ohm";
  chart.title = Title("Impedance", input);
  // An open reads thousands of ohms and a short a fraction of one: only a logarithmic axis shows
  // 50 and 75 apart as well.
  chart.logValues = true;
  chart.series = {
      {"impedance", [&input](double distance) { return SampleAt(input.impedanceOhms, input.spacing, distance); }}};
  return chart;
}

}  // namespace ferrolux::chart
