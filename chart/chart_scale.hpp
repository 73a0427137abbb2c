#pragma once
// What the terminal chart and the SVG chart share: the axes' scales, the band ticks, safe labels.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.hpp"

namespace ferrolux::chart {

inline constexpr std::size_t kMaxChartSeries = 8;
inline constexpr std::string_view kChartRangeProblem = "Cannot plot: the frequencies must rise from above 0 MHz.";

std::size_t SeriesShown(const ChartSettings& chart);

// Finite, above 0 and rising: a range a logarithmic axis can show.
bool ChartRangeValid(double fromMHz, double toMHz);

// How far along the axis a frequency lies, 0 at fromMHz to 1 at toMHz; and back.
double AxisShare(double mhz, double fromMHz, double toMHz);
double FrequencyAtShare(double share, double fromMHz, double toMHz);

// The loss of a series at a frequency when it can be drawn: finite, not absurd, and not negative
// unless the chart's values are signed.
std::optional<double> PlottableLoss(const ChartSeries& series, double mhz, bool signedValues = false);

// The highest plottable loss of the shown series across the range; 0 when there is none.
double HighestLoss(const ChartSettings& chart);

// From 0 to `top` in `steps` equal steps of 1, 2, 2.5 or 5 times a power of ten.
struct LossScale {
  double top = 1;
  double step = 1;
  int steps = 1;
  int decimals = 0;
};
LossScale NiceLossScale(double highestLoss, int maxSteps);
std::string LossTickText(const LossScale& scale, int index);

// Where a loss stands on the loss axis: linear from 0, or logarithmic over whole decades.
struct LossTick {
  double share;  // 0 at the bottom, 1 at the top
  std::string text;
};
class LossAxis {
 public:
  // At most about `maxSteps` ticks for the losses of the chart's shown series.
  LossAxis(const ChartSettings& chart, int maxSteps);
  // nullopt for a loss the axis cannot show (0 on a logarithmic one).
  std::optional<double> Share(double loss) const;
  const std::vector<LossTick>& Ticks() const { return ticks_; }

 private:
  void LinearTicks(double lowest, double highest, int maxSteps);
  void DecadeTicks(double lowest, double highest, int maxSteps);

  bool logarithmic_;
  double bottom_ = 0, top_ = 1;
  std::vector<LossTick> ticks_;
};

// The amateur bands inside the range, the main bands first so they win a crowded axis.
struct BandTick {
  double mhz;
  std::string_view label;
};
std::vector<BandTick> BandTicksWithin(double fromMHz, double toMHz);

// A frequency in at most four significant digits, for the ends of an axis without bands.
std::string FrequencyText(double mhz);

// Labels along an axis, tried in order: one is shown, pushed inside [low, high], when it keeps
// `gap` clear of every label already shown.
struct AxisLabel {
  std::string text;
  double start = 0;
  double width = 0;
  bool shown = false;
};
void PlaceAxisLabels(std::vector<AxisLabel>& labels, double low, double high, double gap);

// Label text that cannot disturb its output: controls and broken UTF-8 become '?', and so does
// anything a terminal might draw at another width than one cell (or anything beyond ASCII).
enum class TextTarget { kAsciiTerminal, kUtf8Terminal, kXml };
std::string PrintableText(std::string_view text, TextTarget target);

}  // namespace ferrolux::chart
