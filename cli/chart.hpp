#pragma once
// Matched loss against frequency as a picture in the terminal.

#include <functional>
#include <string>
#include <vector>

#include "cli/output.hpp"

namespace ferrolux::cli {

// The sizes a chart may be asked for, in cells: smaller leaves no room to read it, larger is no
// terminal's or page's.
inline constexpr int kChartNarrowest = 40, kChartLowest = 12, kChartLargest = 1000;

struct ChartSeries {
  std::string label;
  std::function<double(double mhz)> loss;
};

struct ChartSettings {
  std::vector<ChartSeries> series;   // up to 8; any beyond are left out
  double fromMHz = 1, toMHz = 1000;  // logarithmic axis
  std::string title;                 // what is drawn: "Matched loss of 100 ft"
  std::string lossUnit;              // e.g. "dB/100 ft", "dB/100 m", "dB"
  bool logLoss = false;              // a logarithmic loss axis, so small losses do not crowd the bottom
  int width = 80, height = 24;       // terminal cells of the whole chart incl. legend and axes
  bool utf8 = true;                  // braille dots, else ASCII marks
  bool color = true;                 // ANSI colours, else a distinct mark per series
};

// An empty chart as this output shows it: the terminal's width and its height up to 24 rows,
// 80x24 into a pipe or file, never below the smallest size; its marks and colours.
ChartSettings ChartForOutput(const OutputStyle& style);

// Exactly `height` lines of `width` cells (ANSI colour codes aside), or one line saying why no
// chart fits. Losses that cannot be drawn (not finite, negative) leave gaps.
std::vector<std::string> DrawChart(const ChartSettings& chart);

}  // namespace ferrolux::cli
