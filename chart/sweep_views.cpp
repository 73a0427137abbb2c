#include "chart/sweep_views.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "chart/chart_scale.hpp"
#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

constexpr std::size_t kMostResonances = 6;
// A pure reactance reflects everything: far above any axis's top, yet a number a chart can clip.
constexpr double kEndlessSwr = 1e5;
constexpr double kNotDrawn = std::numeric_limits<double>::quiet_NaN();

using PointValue = double (*)(const ViewPoint&, double refOhms);

double AntennaSwr(const ViewPoint& p, double ref) { return SwrOf(p.antennaOhms, ref); }
double ShackSwr(const ViewPoint& p, double ref) { return SwrOf(p.shackOhms, ref); }
double AntennaR(const ViewPoint& p, double /*ref*/) { return p.antennaOhms.real(); }
double AntennaX(const ViewPoint& p, double /*ref*/) { return p.antennaOhms.imag(); }
double ShackR(const ViewPoint& p, double /*ref*/) { return p.shackOhms.real(); }
double ShackX(const ViewPoint& p, double /*ref*/) { return p.shackOhms.imag(); }

// The value at a frequency, straight between the points either side; the end's value beyond
// either end, so a single point draws as a level line.
double Interpolated(const SweepViewInput& input, PointValue value, double mhz) {
  const auto& points = input.points;
  if (points.empty()) return kNotDrawn;
  const auto after =
      std::lower_bound(points.begin(), points.end(), mhz, [](const ViewPoint& p, double f) { return p.mhz < f; });
  if (after == points.begin()) return value(points.front(), input.refOhms);
  if (after == points.end()) return value(points.back(), input.refOhms);
  const ViewPoint& before = *std::prev(after);
  const double share = (mhz - before.mhz) / (after->mhz - before.mhz);
  const double low = value(before, input.refOhms);
  return low + share * (value(*after, input.refOhms) - low);
}

ChartSeries SeriesOf(std::string label, const SweepViewInput& input, PointValue value, bool dashed) {
  return {std::move(label), [&input, value](double mhz) { return Interpolated(input, value, mhz); }, dashed};
}

// The axis spans the sweep; a single point gets a little room either side.
void SpanSweep(ChartSettings& chart, const SweepViewInput& input) {
  if (input.points.empty()) return;
  chart.fromMHz = input.points.front().mhz;
  chart.toMHz = input.points.back().mhz;
  if (!(chart.toMHz > chart.fromMHz)) chart.fromMHz /= 1.1, chart.toMHz *= 1.1;
}

// The sweep's own span: the axis pads a single point out to either side.
std::string Title(const std::string& what, bool utf8, const SweepViewInput& input) {
  std::string title = what;
  if (!input.points.empty()) {
    const double from = input.points.front().mhz, to = input.points.back().mhz;
    const std::string span =
        from < to ? FrequencyText(from) + (utf8 ? "–" : "-") + FrequencyText(to) : FrequencyText(from);
    title += ", " + span + " MHz";
  }
  return input.through.empty() ? title : title + ", through " + input.through;
}

std::optional<ChartLabel> LowestSwr(const SweepViewInput& input, PointValue swr, std::size_t series,
                                    const std::string& end) {
  std::optional<ChartLabel> lowest;
  for (const ViewPoint& point : input.points) {
    const double value = swr(point, input.refOhms);
    if (std::isfinite(value) && (!lowest || value < lowest->value)) lowest = ChartLabel{series, point.mhz, value, ""};
  }
  if (lowest) lowest->text = end + " " + FixedText(lowest->value, 2) + " at " + FrequencyText(lowest->mhz) + " MHz";
  return lowest;
}

}  // namespace

double SwrOf(std::complex<double> ohms, double refOhms) {
  const auto gamma = ReflectionOf(ohms, refOhms);
  if (!gamma) return kNotDrawn;
  const double magnitude = std::abs(*gamma);
  return magnitude < 1 ? std::min((1 + magnitude) / (1 - magnitude), kEndlessSwr) : kEndlessSwr;
}

std::vector<double> ReactanceZeros(const std::vector<ViewPoint>& points, std::size_t most) {
  std::vector<double> zeros;
  for (std::size_t i = 1; i < points.size() && zeros.size() < most; ++i) {
    const double before = points[i - 1].antennaOhms.imag(), after = points[i].antennaOhms.imag();
    if (!std::isfinite(before) || !std::isfinite(after) || (before < 0) == (after < 0) || before == after) continue;
    zeros.push_back(points[i - 1].mhz + (points[i].mhz - points[i - 1].mhz) * before / (before - after));
  }
  return zeros;
}

ChartSettings SwrView(const SweepViewInput& input, ChartSettings frame, double swrTop) {
  ChartSettings chart = std::move(frame);
  SpanSweep(chart, input);
  chart.unit = "SWR";
  chart.title = Title("SWR at the shack and at the antenna", chart.utf8, input);
  chart.logValues = true;
  chart.valueBottom = 1;
  chart.valueTop = swrTop > 1 && std::isfinite(swrTop) ? swrTop : kDefaultSwrTop;
  chart.series = {SeriesOf("SWR at the shack", input, ShackSwr, false),
                  SeriesOf("SWR at the antenna", input, AntennaSwr, false)};
  if (auto note = LowestSwr(input, ShackSwr, 0, "shack")) chart.labels.push_back(std::move(*note));
  if (auto note = LowestSwr(input, AntennaSwr, 1, "antenna")) chart.labels.push_back(std::move(*note));
  return chart;
}

ChartSettings ResistanceReactanceView(const SweepViewInput& input, ChartSettings frame) {
  ChartSettings chart = std::move(frame);
  SpanSweep(chart, input);
  chart.unit = chart.utf8 ? "Ω" : "ohm";
  chart.title = Title("R and X at the antenna and at the shack (dashed)", chart.utf8, input);
  chart.signedValues = true;
  chart.zeroLine = true;
  chart.series = {SeriesOf("R at the antenna", input, AntennaR, false),
                  SeriesOf("X at the antenna", input, AntennaX, false), SeriesOf("R at the shack", input, ShackR, true),
                  SeriesOf("X at the shack", input, ShackX, true)};
  for (const double mhz : ReactanceZeros(input.points, kMostResonances))
    chart.labels.push_back({1, mhz, 0, "X = 0 at " + FrequencyText(mhz) + " MHz"});
  return chart;
}

SmithSettings SmithView(const SweepViewInput& input, const ChartSettings& frame, double swrCircle) {
  SmithSettings chart;
  SmithTrace antenna{"at the antenna", {}, false}, shack{"at the shack", {}, true};
  antenna.samples.reserve(input.points.size());
  shack.samples.reserve(input.points.size());
  for (const ViewPoint& point : input.points) {
    antenna.samples.push_back({point.mhz, point.antennaOhms});
    shack.samples.push_back({point.mhz, point.shackOhms});
  }
  chart.traces = {std::move(antenna), std::move(shack)};
  chart.refOhms = input.refOhms;
  chart.swrCircle = swrCircle;
  chart.title = Title("Impedance at the antenna and at the shack (dashed)", frame.utf8, input);
  chart.width = frame.width;
  chart.height = frame.height;
  chart.utf8 = frame.utf8;
  chart.color = frame.color;
  return chart;
}

}  // namespace ferrolux::chart
