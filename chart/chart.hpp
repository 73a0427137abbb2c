#pragma once
// Values against frequency as a picture in the terminal: matched loss, SWR, ... The chart knows
// no cable and no command line; its callers fill in the series and the size.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ferrolux::chart {

// The sizes a chart may be asked for, in cells: smaller leaves no room to read it, larger is no
// terminal's or page's.
inline constexpr int kChartNarrowest = 40, kChartLowest = 12, kChartLargest = 1000;

struct ChartSeries {
  std::string label;
  std::function<double(double mhz)> value;
  bool dashed = false;  // the same quantity read elsewhere, e.g. at the shack
};

// A point of a series worth naming: a minimum, a resonance.
struct ChartLabel {
  std::size_t series = 0;
  double mhz = 0, value = 0;
  std::string text;
};

struct ChartSettings {
  std::vector<ChartSeries> series;   // up to 8; any beyond are left out
  double fromMHz = 1, toMHz = 1000;  // logarithmic axis
  // Empty: frequency across, as above. Else a linear axis across from fromMHz to toMHz in this
  // unit, such as distance along a line in "m", and the series read in it.
  std::string linearUnit;
  std::string title;          // what is drawn: "Matched loss of 100 ft"
  std::string unit;           // of the values, e.g. "dB/100 ft", "dB", "SWR"
  bool logValues = false;     // a logarithmic value axis, so small values do not crowd the bottom
  bool signedValues = false;  // values below 0 drawn too, the linear axis reaching down to them
  bool zoomValues = false;    // the linear axis spans the values alone instead of rising from 0
  bool zeroLine = false;      // a line across at 0, where reactance changes sign
  // When the top is above the bottom, the value axis spans them whatever the values; values beyond
  // the top lie along the top edge, marked.
  double valueBottom = 0, valueTop = 0;
  int width = 80, height = 24;     // terminal cells of the whole chart incl. legend and axes
  bool utf8 = true;                // braille dots, else ASCII marks
  bool color = true;               // ANSI colours, else a distinct mark per series
  std::vector<std::string> notes;  // said below the chart, such as what its figures rest on
  std::vector<ChartLabel> labels;  // named points on the curves
};

// Exactly `height` lines of `width` cells (ANSI colour codes aside), or one line saying why no
// chart fits. Values that cannot be drawn (not finite, negative unless signed) leave gaps.
std::vector<std::string> DrawChart(const ChartSettings& chart);

}  // namespace ferrolux::chart
