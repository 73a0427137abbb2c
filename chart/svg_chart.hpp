#pragma once
// The loss chart as a standalone SVG document a browser shows.

#include <string>

#include "chart/chart.hpp"

namespace ferrolux::chart {

// Ten pixels per column and twenty per row of width x height, from 480x300 up to
// 10000x20000; colour and character set do not apply. A range that cannot be drawn gives a
// document saying so.
std::string DrawSvgChart(const ChartSettings& chart);

}  // namespace ferrolux::chart
