#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "chart/chart_scale.hpp"
#include "chart/smith_chart.hpp"
#include "chart/smith_grid.hpp"
#include "chart/svg_parts.hpp"

namespace ferrolux::chart {

namespace {

constexpr int kPixelsPerColumn = 10, kPixelsPerRow = 20;
constexpr int kMinWidth = 480, kMinHeight = 400;
constexpr double kTopSpace = 40, kBottomSpace = 60, kMargin = 36;
constexpr int kLabelledSamples = 5;
constexpr std::string_view kGridColor = "#bbbbbb", kLabelColor = "#555555", kCircleColor = "#bcbd22";

std::string PolylinePoints(const std::vector<std::complex<double>>& path, const SmithFrame& frame) {
  std::string points;
  for (const std::complex<double>& gamma : path) {
    const SmithPoint p = frame.At(gamma);
    points.append(points.empty() ? "" : " ").append(SvgNumber(p.x)).append(",").append(SvgNumber(p.y));
  }
  return points;
}

std::string Polyline(const std::vector<std::complex<double>>& path, const SmithFrame& frame) {
  return path.size() < 2 ? "" : "<polyline points=\"" + PolylinePoints(path, frame) + "\"/>\n";
}

std::string Grid(const SmithFrame& frame, double swrCircle) {
  std::string lines, labels;
  for (const GridCurve& curve : SmithGridCurves(frame.radiusY / 4)) lines += Polyline(curve.path, frame);
  for (const GridLabel& label : SmithGridLabels()) {
    const SmithPoint p = frame.At(label.gamma);
    if (label.onAxis) labels += SvgText(p.x + 3, p.y - 4, "start", label.text);
    else
      labels += SvgText(p.x + label.gamma.real() * 14, p.y - label.gamma.imag() * 14 + 4,
                        label.gamma.real() >= -0.05 ? "start" : "end", label.text);
  }
  std::string body = SvgGroup("class=\"smith-grid\" fill=\"none\" stroke=\"" + std::string(kGridColor) + "\"", lines) +
                     SvgGroup("class=\"smith-labels\" fill=\"" + std::string(kLabelColor) + "\"", labels);
  if (swrCircle > 1)
    body += SvgGroup("class=\"swr-circle\" fill=\"none\" stroke=\"" + std::string(kCircleColor) +
                         "\" stroke-width=\"2\" stroke-dasharray=\"6,4\"",
                     Polyline(SwrCirclePath(swrCircle, frame.radiusY / 4), frame));
  return body;
}

std::string Markers(const SmithSettings& chart, std::size_t t, const SmithFrame& frame) {
  const SmithTrace& trace = chart.traces[t];
  std::string body;
  for (const std::size_t i : SmithLabelledSamples(trace, t == 0 ? kLabelledSamples : 2)) {
    const auto gamma = ReflectionOf(trace.samples[i].ohms, chart.refOhms);
    if (!gamma) continue;
    const SmithPoint p = frame.At(*gamma);
    const bool start = i == 0;
    body += "<circle cx=\"" + SvgNumber(p.x) + "\" cy=\"" + SvgNumber(p.y) + "\" r=\"4\" fill=\"" +
            (start ? std::string("white") : std::string(kSvgSeriesColors[t])) + "\"/>\n";
    if (t == 0)
      body += SvgGroup("stroke=\"none\"", SvgText(p.x + 7, p.y - 6, "start", FrequencyText(trace.samples[i].mhz)));
  }
  return body;
}

std::string Traces(const SmithSettings& chart, const SmithFrame& frame) {
  std::string body;
  const std::size_t count = std::min(chart.traces.size(), kMaxChartSeries);
  for (std::size_t t = count; t-- > 0;) {
    const SmithTrace& trace = chart.traces[t];
    std::string lines = "<title>" + SvgEscaped(trace.label) + "</title>\n";
    std::vector<std::complex<double>> path;
    for (const SmithSample& sample : trace.samples) {
      if (const auto gamma = ReflectionOf(sample.ohms, chart.refOhms)) path.push_back(*gamma);
      else lines += Polyline(std::exchange(path, {}), frame);
    }
    lines += Polyline(path, frame);
    const std::string color(kSvgSeriesColors[t]);
    body += SvgGroup("class=\"locus\" fill=\"none\" stroke=\"" + color + "\" stroke-width=\"2\"" +
                         (trace.dashed ? " stroke-dasharray=\"6,4\"" : ""),
                     lines);
    std::string markers = "class=\"markers\" stroke=\"";
    markers.append(color).append("\" fill=\"").append(color).append("\"");
    body += SvgGroup(markers, Markers(chart, t, frame));
  }
  return body;
}

std::string Legend(const SmithSettings& chart, double width, double y) {
  std::string body;
  double x = kMargin;
  for (std::size_t t = 0; t < std::min(chart.traces.size(), kMaxChartSeries); ++t) {
    body += "<g stroke=\"" + std::string(kSvgSeriesColors[t]) + "\" stroke-width=\"3\"" +
            (chart.traces[t].dashed ? " stroke-dasharray=\"6,4\"" : "") + ">" + SvgLine(x, y, x + 24, y) + "</g>\n";
    body += SvgText(x + 30, y + 4, "start", chart.traces[t].label);
    x += 30 + SvgTextWidth(chart.traces[t].label) + 20;
  }
  std::string rest = "open circle start, filled end";
  if (chart.swrCircle > 1) rest += ", SWR " + FrequencyText(chart.swrCircle) + " circle dashed";
  body += SvgText(std::min(x, width - kMargin), y + 4, x < width - kMargin ? "start" : "end", rest);
  return SvgGroup("class=\"legend\"", body);
}

}  // namespace

std::string DrawSvgSmithChart(const SmithSettings& chart) {
  const int width = std::clamp(chart.width, kMinWidth / kPixelsPerColumn, kChartLargest) * kPixelsPerColumn;
  const int height = std::clamp(chart.height, kMinHeight / kPixelsPerRow, kChartLargest) * kPixelsPerRow;
  if (!(chart.refOhms > 0) || !std::isfinite(chart.refOhms))
    return SvgDocument(width, height, SvgText(width / 2.0, height / 2.0, "middle", "No reference impedance."));
  SmithFrame frame = FitSmithFrame(width, height - kTopSpace - kBottomSpace, 1, kMargin);
  frame.centreY += kTopSpace;
  std::string body = SvgText(width / 2.0, 24, "middle", chart.title);
  body += Grid(frame, chart.swrCircle) + Traces(chart, frame);
  body += SvgText(kMargin, height - 36, "start", "r + jx = Z / " + FrequencyText(chart.refOhms) + " Ω");
  body += Legend(chart, width, height - 16);
  return SvgDocument(width, height, body);
}

}  // namespace ferrolux::chart
