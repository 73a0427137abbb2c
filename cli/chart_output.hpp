#pragma once
// A chart sized and marked for where the subcommand writes.

#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

#include "chart/chart.hpp"
#include "chart/smith_chart.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

// An empty chart as this output shows it: the terminal's width and its height up to 24 rows,
// 80x24 into a pipe or file, never below the smallest size; its marks and colours.
chart::ChartSettings ChartForOutput(const OutputStyle& style);

// The chart as SVG to the file `svg` (- for `out`), or drawn in text on `out` when `svg` is empty,
// its notes below it either way.
void WriteChart(const chart::ChartSettings& chart, const std::string& svg, std::ostream& out);

// A chart against frequency or a Smith chart.
using ChartView = std::variant<chart::ChartSettings, chart::SmithSettings>;

// The views as one SVG document to `svg` (- for `out`), stacked top to bottom, or drawn in text
// on `out` one after another when `svg` is empty; the notes once, below the views.
void WriteViews(std::vector<ChartView> views, const std::vector<std::string>& notes, const std::string& svg,
                std::ostream& out);

}  // namespace ferrolux::cli
