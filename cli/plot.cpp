#include "cli/plot.hpp"

#include <algorithm>
#include <functional>
#include <utility>

#include "catalog/cable.hpp"
#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/command_error.hpp"
#include "cli/plot_quantity.hpp"
#include "cli/settings.hpp"
#include "report/line_limits.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

std::vector<const CatalogRow*> ChosenCables(const std::vector<CatalogRow>& catalog, const PlotOptions& options) {
  std::vector<const CatalogRow*> chosen;
  for (const std::string& name : options.cables) chosen.push_back(&FindCable(catalog, name));
  if (!options.type.empty()) {
    size_t found = 0;
    for (const CatalogRow& cable : catalog) {
      if (!IsOfType(cable, options.type)) continue;
      ++found;
      chosen.push_back(&cable);
    }
    if (found == 0) throw NoCableOfType(catalog, options.type);
  }
  std::vector<const CatalogRow*> unique;
  for (const CatalogRow* cable : chosen)
    if (std::find(unique.begin(), unique.end(), cable) == unique.end()) unique.push_back(cable);
  if (unique.empty()) throw UsageError("name a cable with --cable or a type with --type");
  if (unique.size() > kMostSeries)
    throw UsageError("plot draws up to " + std::to_string(kMostSeries) + " cables; these options give " +
                     std::to_string(unique.size()));
  return unique;
}

constexpr int kLengthDigits = 7;
const std::string kTitle = "Matched loss ";

// Per 100 ft, per 100 m, or for the length given, in the unit it was given in.
void SetScale(const PlotOptions& options, chart::ChartSettings& chart, double& scale) {
  if (!options.length.empty()) {
    const Length length = ReadLength(options.length, options.metric);
    scale = length.feet / 100;
    chart.unit = "dB";
    chart.title = kTitle + "of " +
                  (length.typedInMetres ? PlainNumberText(length.metres, kLengthDigits) + " m"
                                        : PlainNumberText(length.feet, kLengthDigits) + " ft");
  } else if (options.metric) {
    scale = 1 / kMetresPerFoot;
    chart.unit = "dB/100 m";
    chart.title = kTitle + "per 100 m";
  } else {
    scale = 1;
    chart.unit = "dB/100 ft";
    chart.title = kTitle + "per 100 ft";
  }
}

void SetSize(const PlotOptions& options, chart::ChartSettings& chart) {
  if (options.width != 0 && options.width < chart::kChartNarrowest)
    throw UsageError("--width: the chart needs at least " + std::to_string(chart::kChartNarrowest) + " columns");
  if (options.height != 0 && options.height < chart::kChartLowest)
    throw UsageError("--height: the chart needs at least " + std::to_string(chart::kChartLowest) + " rows");
  if (options.width > 0) chart.width = options.width;
  if (options.height > 0) chart.height = options.height;
}

}  // namespace

chart::ChartSettings BuildChart(const std::vector<CatalogRow>& catalog, const PlotOptions& options,
                                const OutputStyle& style) {
  chart::ChartSettings chart = ChartForOutput(style);
  chart.fromMHz = ReadNumber("--from", options.fromMHz);
  chart.toMHz = ReadNumber("--to", options.toMHz);
  if (chart.fromMHz >= chart.toMHz) throw UsageError("--from must be below --to");
  const PlotQuantity quantity = ReadPlotQuantity(options.show);
  if (quantity != PlotQuantity::kLoss && !options.length.empty())
    throw UsageError("--length: only the loss depends on the length; leave it out with --show " + options.show);
  double scale = 1;
  SetScale(options, chart, scale);
  SetQuantityAxis(quantity, chart);
  SetSize(options, chart);
  chart.logValues = options.logLoss;
  chart.signedValues = quantity == PlotQuantity::kZ0Angle;
  // Z0 and the velocity factor drift by a few per cent, which an axis from 0 would flatten.
  chart.zoomValues = quantity == PlotQuantity::kZ0 || quantity == PlotQuantity::kVelocityFactor;
  for (const CatalogRow* cable : ChosenCables(catalog, options)) {
    std::function<double(double)> curve = QuantityCurve(quantity, *cable);
    if (quantity == PlotQuantity::kLoss)
      curve = [loss = std::move(curve), scale](double mhz) { return loss(mhz) * scale; };
    chart.series.push_back({DisplayText(CableName(*cable), style.utf8), std::move(curve)});
  }
  return chart;
}

std::vector<std::string> PlotNotes(const std::vector<CatalogRow>& catalog, const PlotOptions& options) {
  return LineLimitLines(ChosenCables(catalog, options), ReadNumber("--from", options.fromMHz),
                        ReadNumber("--to", options.toMHz));
}

}  // namespace ferrolux::cli
