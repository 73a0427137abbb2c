#pragma once
// What `ferrolux measure` writes: a table per frequency and the fit as text, one row per point
// as CSV, the points, the fit and the count left out as JSON, and the chart.

#include <iosfwd>

#include "catalog/catalog.hpp"
#include "chart/chart.hpp"
#include "cli/measure.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

void WriteMeasureText(std::ostream& out, const CableReport& report, bool metric, const OutputStyle& style);
void WriteMeasureCsv(std::ostream& out, const CableReport& report);
void WriteMeasureJson(std::ostream& out, const CableReport& report);

// The measured matched loss beside the fitted curve and, when given, the catalog's curve of
// `cable`, over the sweep's frequencies; per 100 m with `metric`. `report` must outlive the
// chart: the measured curve reads its points.
chart::ChartSettings MeasureChart(const CableReport& report, const CatalogRow* cable, bool metric,
                                  const OutputStyle& style);

}  // namespace ferrolux::cli
