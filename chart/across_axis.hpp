#pragma once
// The axis along the bottom of a chart: frequency on a logarithmic scale with the amateur bands
// marked, or a linear one such as distance along a line.

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.hpp"

namespace ferrolux::chart {

// A range the chart's axis can show; else why not.
bool AcrossRangeValid(const ChartSettings& chart);
std::string_view AcrossRangeProblem(const ChartSettings& chart);

// How far along the axis a value lies, 0 at fromMHz to 1 at toMHz; and back.
double AcrossShare(const ChartSettings& chart, double at);
double AcrossAt(const ChartSettings& chart, double share);

struct AcrossTick {
  double at = 0;
  std::string label;
};
// The marks between the ends: the bands on a frequency axis, the main ones first so they win a
// crowded axis; round steps, at most about `most`, on a linear one.
std::vector<AcrossTick> AcrossTicks(const ChartSettings& chart, int most);

// An end of the axis as its label shows it.
std::string AcrossEndText(const ChartSettings& chart, double at);

std::string_view AcrossUnit(const ChartSettings& chart);

}  // namespace ferrolux::chart
