#include "cli/plot.hpp"

#include <algorithm>
#include <functional>
#include <utility>

#include "catalog/cable.hpp"
#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/command_error.hpp"
#include "cli/path_calculation.hpp"
#include "cli/path_element_fields.hpp"
#include "cli/plot_quantity.hpp"
#include "cli/settings.hpp"
#include "model/path_range.hpp"
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

// The path's matched loss with its connectors and lumped losses, and of its cables alone.
void AddPathSeries(const std::vector<CatalogRow>& catalog, const PlotOptions& options, chart::ChartSettings& chart,
                   bool utf8) {
  if (ReadPlotQuantity(options.show) != PlotQuantity::kLoss)
    throw UsageError(
        "--show " + options.show +
        ": a path has no one Z0 or velocity factor (each cable has its own); with --path only the loss is drawn");
  const std::vector<PathElementEntry> entries = ReadPathText(options.path, catalog);
  std::vector<PathElement> path;
  path.reserve(entries.size());
  for (const PathElementEntry& entry : entries) path.push_back(entry.element);
  chart.title = kTitle + "of the path " + DisplayText(PathTitle(entries), utf8);
  chart.unit = "dB";
  chart.series.push_back({"with the connectors", [path](double mhz) { return PathMatchedLossDb(path, mhz); }});
  chart.series.push_back({"cables only", [path](double mhz) { return PathCablesMatchedLossDb(path, mhz); }});
}

std::vector<const CatalogRow*> PathCables(const std::vector<CatalogRow>& catalog, const std::string& path) {
  std::vector<const CatalogRow*> rows;
  for (const PathElementEntry& entry : ReadPathText(path, catalog))
    if (entry.row) rows.push_back(entry.row);
  return rows;
}

}  // namespace

chart::ChartSettings BuildChart(const std::vector<CatalogRow>& catalog, const PlotOptions& options,
                                const OutputStyle& style) {
  chart::ChartSettings chart = ChartForOutput(style);
  chart.fromMHz = ReadNumber("--from", options.fromMHz);
  chart.toMHz = ReadNumber("--to", options.toMHz);
  if (chart.fromMHz >= chart.toMHz) throw UsageError("--from must be below --to");
  if (!options.path.empty()) {
    AddPathSeries(catalog, options, chart, style.utf8);
    SetSize(options, chart);
    chart.logValues = options.logLoss;
    return chart;
  }
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
  const std::vector<const CatalogRow*> cables =
      options.path.empty() ? ChosenCables(catalog, options) : PathCables(catalog, options.path);
  return LineLimitLines(cables, ReadNumber("--from", options.fromMHz), ReadNumber("--to", options.toMHz));
}

}  // namespace ferrolux::cli
