#pragma once
// `ferrolux plot`: the chart of matched loss, Z0 or the velocity factor against frequency for up
// to eight cables.

#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "chart/chart.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

inline constexpr size_t kMostSeries = 8;

// The options as typed; empty texts and zero sizes when not given.
struct PlotOptions {
  std::vector<std::string> cables;
  std::string type;
  std::string path;    // a feed line of elements, as calc reads it, instead of cables
  std::string length;  // loss for this length instead of per 100 ft (100 m)
  bool metric = false;
  bool logLoss = false;
  std::string show = "loss";  // one of kPlotQuantities
  std::string fromMHz = "1", toMHz = "1000";
  int width = 0, height = 0;
};

// Throws a usage error for an unknown or ambiguous cable, too many cables, or a bad range or size.
chart::ChartSettings BuildChart(const std::vector<CatalogRow>& catalog, const PlotOptions& options,
                                const OutputStyle& style);

// What the chart's figures rest on over its frequencies (see line_limits.hpp).
std::vector<std::string> PlotNotes(const std::vector<CatalogRow>& catalog, const PlotOptions& options);

}  // namespace ferrolux::cli
