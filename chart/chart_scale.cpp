#include "chart/chart_scale.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "chart/across_axis.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

// No feed line loses more than this; the scale's labels stay short.
constexpr double kAbsurdLoss = 1e6;
// A loss scale never tops out below this, so a lossless line lies along the bottom.
constexpr double kSmallestTop = 0.01;
constexpr int kLossSamples = 1024;

struct Band {
  double mhz;
  std::string_view label;
  bool main;
};

constexpr std::array<Band, 21> kBands{{
    {0.1357, "0.136", false}, {0.472, "0.472", false}, {1.8, "1.8", true},    {3.5, "3.5", true},
    {7, "7", true},           {10.1, "10.1", false},   {14, "14", true},      {18.068, "18", false},
    {21, "21", true},         {24.89, "24.9", false},  {28, "28", true},      {50, "50", true},
    {144, "144", true},       {222, "222", false},     {440, "440", true},    {902, "902", false},
    {1240, "1240", true},     {2300, "2300", false},   {3400, "3400", false}, {5650, "5650", false},
    {10000, "10000", false},
}};

// Latin, Greek, Cyrillic and general punctuation: one cell on every terminal.
bool OneCellWide(char32_t point) {
  return (point >= 0x20 && point < 0x7F) || (point >= 0xA0 && point < 0x300 && point != 0xAD) ||
         (point >= 0x370 && point < 0x530) || (point >= 0x2010 && point < 0x2028);
}

bool Printable(char32_t point, TextTarget target) {
  switch (target) {
    case TextTarget::kAsciiTerminal: return point >= 0x20 && point < 0x7F;
    case TextTarget::kUtf8Terminal: return OneCellWide(point);
    case TextTarget::kXml:
      return point >= 0x20 && !(point >= 0x7F && point < 0xA0) && point != 0xFFFE && point != 0xFFFF;
  }
  return false;
}

}  // namespace

std::size_t SeriesShown(const ChartSettings& chart) { return std::min(chart.series.size(), kMaxChartSeries); }

bool ChartRangeValid(double fromMHz, double toMHz) {
  return std::isfinite(fromMHz) && std::isfinite(toMHz) && fromMHz > 0 && toMHz > fromMHz;
}

double AxisShare(double mhz, double fromMHz, double toMHz) {
  return std::log(mhz / fromMHz) / std::log(toMHz / fromMHz);
}

double FrequencyAtShare(double share, double fromMHz, double toMHz) {
  return fromMHz * std::pow(toMHz / fromMHz, share);
}

std::optional<double> PlottableLoss(const ChartSeries& series, double mhz, bool signedValues) {
  if (!series.value) return std::nullopt;
  const double loss = series.value(mhz);
  if (!std::isfinite(loss) || loss < (signedValues ? -kAbsurdLoss : 0) || loss > kAbsurdLoss) return std::nullopt;
  return loss;
}

namespace {

struct Losses {
  double lowestAbove0 = 0, highest = 0;  // 0 for either when there is none
  double least = 0;                      // the least value drawn; 0 when there is none
};

Losses LossRange(const ChartSettings& chart) {
  Losses range;
  range.least = std::numeric_limits<double>::infinity();
  for (std::size_t s = 0; s < SeriesShown(chart); ++s)
    for (int i = 0; i < kLossSamples; ++i) {
      const double mhz = AcrossAt(chart, i / (kLossSamples - 1.0));
      const std::optional<double> loss = PlottableLoss(chart.series[s], mhz, chart.signedValues);
      if (!loss) continue;
      range.highest = std::max(range.highest, *loss);
      range.least = std::min(range.least, *loss);
      if (*loss > 0 && (range.lowestAbove0 == 0 || *loss < range.lowestAbove0)) range.lowestAbove0 = *loss;
    }
  if (std::isinf(range.least)) range.least = 0;
  return range;
}

}  // namespace

double HighestLoss(const ChartSettings& chart) { return LossRange(chart).highest; }

LossScale NiceLossScale(double highestLoss, int maxSteps) {
  constexpr std::array<double, 4> kMantissas{1, 2, 2.5, 5};
  const double highest = std::isfinite(highestLoss) ? std::clamp(highestLoss, kSmallestTop, kAbsurdLoss) : kSmallestTop;
  maxSteps = std::max(maxSteps, 1);
  for (int exponent = static_cast<int>(std::floor(std::log10(highest / maxSteps)));; ++exponent)
    for (const double mantissa : kMantissas) {
      const double step = mantissa * std::pow(10.0, exponent);
      const int steps = std::max(1, static_cast<int>(std::ceil(highest / step - 1e-9)));
      if (steps <= maxSteps) return {steps * step, step, steps, std::max(0, -exponent + (mantissa == 2.5 ? 1 : 0))};
    }
}

std::string LossTickText(const LossScale& scale, int index) { return FixedText(index * scale.step, scale.decimals); }

LossAxis::LossAxis(const ChartSettings& chart, int maxSteps)
    : logarithmic_(chart.logValues && !chart.signedValues),
      zeroLine_(chart.zeroLine),
      fixed_(std::isfinite(chart.valueTop) && chart.valueTop > chart.valueBottom &&
             (!logarithmic_ || chart.valueBottom > 0)) {
  if (fixed_ && logarithmic_) {
    bottom_ = chart.valueBottom, top_ = chart.valueTop;
    FixedLogTicks(maxSteps);
    return;
  }
  if (fixed_) {
    LinearTicks(chart.valueBottom, chart.valueTop, maxSteps);
    return;
  }
  const Losses range = LossRange(chart);
  if (logarithmic_) DecadeTicks(range.lowestAbove0, range.highest, maxSteps);
  else LinearTicks(chart.zoomValues ? range.least : std::min(range.least, 0.0), range.highest, maxSteps);
}

// From 0, or from the whole step at or below the least value.
void LossAxis::LinearTicks(double lowest, double highest, int maxSteps) {
  if (lowest == 0) {
    const LossScale scale = NiceLossScale(highest, maxSteps);
    top_ = scale.top;
    for (int i = 0; i <= scale.steps; ++i) ticks_.push_back({i * scale.step / scale.top, LossTickText(scale, i)});
    return;
  }
  const LossScale scale = NiceLossScale(highest - lowest, std::max(maxSteps - 1, 1));
  bottom_ = std::floor(lowest / scale.step + 1e-9) * scale.step;
  const int steps = std::max(1, static_cast<int>(std::ceil((highest - bottom_) / scale.step - 1e-9)));
  top_ = bottom_ + steps * scale.step;
  for (int i = 0; i <= steps; ++i)
    ticks_.push_back({static_cast<double>(i) / steps, FixedText(bottom_ + i * scale.step + 0.0, scale.decimals)});
}

// Whole decades around the losses; 1, 2 and 5 in each when there is room, else every few decades.
void LossAxis::DecadeTicks(double lowest, double highest, int maxSteps) {
  const double low = std::clamp(lowest > 0 ? lowest : 1.0, kSmallestTop, kAbsurdLoss);
  const double high = std::clamp(highest > 0 ? highest : 1.0, low, kAbsurdLoss);
  const int first = static_cast<int>(std::floor(std::log10(low) + 1e-9));
  const int last = std::max(first + 1, static_cast<int>(std::ceil(std::log10(high) - 1e-9)));
  bottom_ = std::pow(10.0, first);
  top_ = std::pow(10.0, last);
  const int decades = last - first;
  const bool between = decades * 3 <= maxSteps;
  const int stride = std::max(1, (decades + maxSteps - 1) / std::max(maxSteps, 1));
  for (int exponent = first; exponent <= last; exponent += between ? 1 : stride)
    for (const double mantissa : {1.0, 2.0, 5.0}) {
      if (mantissa > 1 && (!between || exponent == last)) continue;
      const double value = mantissa * std::pow(10.0, exponent);
      ticks_.push_back({*Share(value), FixedText(value, std::max(0, -exponent))});
    }
}

// 1, 1.5, 2, 3, 5 and 7 of each decade up to the fixed top, fewer when rows are short, and the
// top itself.
void LossAxis::FixedLogTicks(int maxSteps) {
  constexpr std::array<std::array<double, 6>, 4> kMantissaSets{
      {{1, 1.5, 2, 3, 5, 7}, {1, 1.5, 2, 3, 5, 0}, {1, 2, 5, 0, 0, 0}, {1, 0, 0, 0, 0, 0}}};
  const double gap = 0.5 / std::max(maxSteps, 1);
  for (const auto& mantissas : kMantissaSets) {
    ticks_.clear();
    for (double decade = std::pow(10.0, std::floor(std::log10(bottom_))); decade < top_; decade *= 10)
      for (const double mantissa : mantissas)
        if (const double value = mantissa * decade; mantissa > 0 && value >= bottom_ && *Share(value) < 1 - gap)
          ticks_.push_back({*Share(value), FixedText(value, value == std::floor(value) ? 0 : 1)});
    ticks_.push_back({1, FixedText(top_, top_ == std::floor(top_) ? 0 : 1)});
    if (static_cast<int>(ticks_.size()) <= maxSteps + 1) return;
  }
}

std::optional<double> LossAxis::ZeroShare() const {
  if (!zeroLine_ || logarithmic_ || !(bottom_ < 0 && top_ > 0)) return std::nullopt;
  return Share(0);
}

std::optional<double> LossAxis::Share(double loss) const {
  if (!logarithmic_) return std::clamp((loss - bottom_) / (top_ - bottom_), 0.0, 1.0);
  if (!(loss > 0)) return std::nullopt;
  return std::clamp(std::log(loss / bottom_) / std::log(top_ / bottom_), 0.0, 1.0);
}

std::vector<BandTick> BandTicksWithin(double fromMHz, double toMHz) {
  std::vector<BandTick> ticks;
  for (const bool main : {true, false})
    for (const Band& band : kBands)
      if (band.main == main && band.mhz >= fromMHz && band.mhz <= toMHz) ticks.push_back({band.mhz, band.label});
  return ticks;
}

std::string FrequencyText(double mhz) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), mhz, std::chars_format::general, 4);
  return result.ec == std::errc{} ? std::string(buffer.data(), result.ptr) : "?";
}

void PlaceAxisLabels(std::vector<AxisLabel>& labels, double low, double high, double gap) {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    AxisLabel& label = labels[i];
    label.start = std::clamp(label.start, low, std::max(low, high - label.width));
    const auto clashes = [&](const AxisLabel& other) {
      return other.shown && label.start < other.start + other.width + gap &&
             other.start < label.start + label.width + gap;
    };
    label.shown = label.start + label.width <= high &&
                  std::none_of(labels.begin(), labels.begin() + static_cast<std::ptrdiff_t>(i), clashes);
  }
}

std::string PrintableText(std::string_view text, TextTarget target) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char decoded = DecodeUtf8(text.substr(i));
    if (decoded.valid && Printable(decoded.point, target)) out += text.substr(i, decoded.length);
    else out += '?';
    i += decoded.length;
  }
  return out;
}

}  // namespace ferrolux::chart
