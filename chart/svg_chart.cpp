#include "chart/svg_chart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "chart/chart_scale.hpp"
#include "text/cells.hpp"
#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

constexpr int kPixelsPerColumn = 10;
constexpr int kPixelsPerRow = 20;
constexpr int kMinWidth = 480;
constexpr int kMinHeight = 300;
constexpr double kLeftMargin = 60;
constexpr double kRightMargin = 24;
constexpr double kTopMargin = 30;
constexpr double kFrequencyLabelSpace = 44;
constexpr double kLegendRowHeight = 20;
constexpr double kLegendLineLength = 24;
constexpr double kNarrowestLegendEntry = 160;
constexpr double kCharacterWidth = 7;  // 12 px sans-serif, generously: enough to keep labels apart
constexpr double kLabelGap = 8;
constexpr double kPixelsPerSample = 2;
constexpr double kPixelsPerLossStep = 40;
constexpr int kMostLossSteps = 10;
constexpr std::string_view kFrequencyUnit = "MHz";
constexpr std::string_view kAxisColor = "#333333";
constexpr std::string_view kGridColor = "#dddddd";
// The terminal's eight hues, deepened to read on white.
constexpr std::array<std::string_view, kMaxChartSeries> kColors{"#d62728", "#1f77b4", "#2ca02c", "#9467bd",
                                                                "#ff7f0e", "#17becf", "#e377c2", "#bcbd22"};

struct Frame {
  double left, top, right, bottom;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

std::string Number(double value) { return FixedText(value, 1); }

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : PrintableText(text, TextTarget::kXml)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

double TextWidth(std::string_view text) {
  return DisplayWidth(PrintableText(text, TextTarget::kXml)) * kCharacterWidth;
}

std::string Text(double x, double y, std::string_view anchor, std::string_view text) {
  return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + std::string(anchor) + "\">" +
         Escaped(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2) {
  return "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) + "\" y2=\"" + Number(y2) +
         "\"/>\n";
}

std::string Group(std::string_view attributes, const std::string& body) {
  return "<g " + std::string(attributes) + ">\n" + body + "</g>\n";
}

std::string Document(int width, int height, const std::string& body) {
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                          "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svg +
         "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" + body + "</svg>\n";
}

struct LegendGrid {
  int perRow = 1;
  int rows = 0;
  double entryWidth = 0;
};

LegendGrid LayOutLegend(const ChartSettings& chart, double plotWidth) {
  const int count = static_cast<int>(SeriesShown(chart));
  if (count == 0) return {};
  double widest = kNarrowestLegendEntry;
  for (int s = 0; s < count; ++s)
    widest = std::max(widest, kLegendLineLength + kLabelGap * 2 + TextWidth(chart.series[s].label));
  const int perRow = std::clamp(static_cast<int>(plotWidth / widest), 1, count);
  return {perRow, (count + perRow - 1) / perRow, plotWidth / perRow};
}

std::string Legend(const ChartSettings& chart, const LegendGrid& grid, const Frame& frame) {
  std::string body;
  for (std::size_t s = 0; s < SeriesShown(chart); ++s) {
    const std::size_t row = s / grid.perRow;
    const double x = frame.left + static_cast<double>(s % grid.perRow) * grid.entryWidth;
    const double y = frame.bottom + kFrequencyLabelSpace + kLegendRowHeight * (static_cast<double>(row) + 0.5);
    body += "<g stroke=\"" + std::string(kColors[s]) + "\" stroke-width=\"3\">" + Line(x, y, x + kLegendLineLength, y) +
            "</g>\n";
    body += Text(x + kLegendLineLength + kLabelGap, y + 4, "start", chart.series[s].label);
  }
  return Group("class=\"legend\"", body);
}

// One line each below the legend, from `top` down.
std::string Notes(const ChartSettings& chart, double top) {
  std::string body;
  for (std::size_t i = 0; i < chart.notes.size(); ++i)
    body += Text(kLeftMargin, top + kLegendRowHeight * (static_cast<double>(i) + 0.5) + 4, "start", chart.notes[i]);
  return body.empty() ? body : Group("class=\"notes\"", body);
}

std::string LossLines(const ChartSettings& chart, const LossAxis& axis, const Frame& frame) {
  std::string grid, labels;
  for (const LossTick& tick : axis.Ticks()) {
    const double y = frame.bottom - tick.share * frame.Height();
    if (tick.share > 0) grid += Line(frame.left, y, frame.right, y);
    labels += Text(frame.left - 6, y + 4, "end", tick.text);
  }
  labels += Text(frame.left - 6, frame.top - 12, "start", chart.unit);
  labels += Text((frame.left + frame.right) / 2, frame.top - 12, "middle", chart.title);
  return Group("class=\"loss-grid\" stroke=\"" + std::string(kGridColor) + "\"", grid) +
         Group("class=\"loss-labels\" fill=\"" + std::string(kAxisColor) + "\"", labels);
}

AxisLabel CentredLabel(std::string text, double x) {
  const double width = TextWidth(text);
  return {std::move(text), x - width / 2, width};
}

std::string FrequencyAxis(const ChartSettings& chart, const Frame& frame, double documentWidth) {
  std::string grid;
  // Both ends first, so a band near one gives way to them.
  std::vector<AxisLabel> labels{CentredLabel(FrequencyText(chart.fromMHz), frame.left),
                                CentredLabel(FrequencyText(chart.toMHz), frame.right)};
  for (const BandTick& band : BandTicksWithin(chart.fromMHz, chart.toMHz)) {
    const double x = frame.left + AxisShare(band.mhz, chart.fromMHz, chart.toMHz) * frame.Width();
    grid += Line(x, frame.top, x, frame.bottom);
    labels.push_back(CentredLabel(std::string(band.label), x));
  }
  PlaceAxisLabels(labels, 0, documentWidth, kLabelGap);
  std::string texts;
  for (const AxisLabel& label : labels)
    if (label.shown) texts += Text(label.start + label.width / 2, frame.bottom + 18, "middle", label.text);
  texts += Text((frame.left + frame.right) / 2, frame.bottom + 36, "middle", kFrequencyUnit);
  return Group("class=\"frequency-grid\" stroke=\"" + std::string(kGridColor) + "\"", grid) +
         Group("class=\"frequency-labels\" fill=\"" + std::string(kAxisColor) + "\"", texts);
}

// One polyline per unbroken run of plottable losses: normally one for the whole range.
std::string SeriesLines(const ChartSettings& chart, std::size_t series, const Frame& frame, const LossAxis& axis) {
  const int samples = std::max(2, static_cast<int>(frame.Width() / kPixelsPerSample) + 1);
  std::string body = "<title>" + Escaped(chart.series[series].label) + "</title>\n";
  std::string points;
  const auto flush = [&] {
    if (!points.empty()) body += "<polyline points=\"" + points + "\"/>\n";
    points.clear();
  };
  for (int i = 0; i < samples; ++i) {
    const double share = i / (samples - 1.0);
    const auto loss =
        PlottableLoss(chart.series[series], FrequencyAtShare(share, chart.fromMHz, chart.toMHz), chart.signedValues);
    const std::optional<double> height = loss ? axis.Share(*loss) : std::nullopt;
    if (!height) {
      flush();
      continue;
    }
    const double y = frame.bottom - *height * frame.Height();
    points.append(points.empty() ? "" : " ")
        .append(Number(frame.left + share * frame.Width()))
        .append(",")
        .append(Number(y));
  }
  flush();
  return Group("class=\"series\" fill=\"none\" stroke=\"" + std::string(kColors[series]) +
                   "\" stroke-width=\"2\" stroke-linejoin=\"round\"",
               body);
}

}  // namespace

std::string DrawSvgChart(const ChartSettings& chart) {
  const int width = std::clamp(chart.width, kMinWidth / kPixelsPerColumn, kChartLargest) * kPixelsPerColumn;
  const int height = std::clamp(chart.height, kMinHeight / kPixelsPerRow, kChartLargest) * kPixelsPerRow;
  if (!ChartRangeValid(chart.fromMHz, chart.toMHz))
    return Document(width, height, Text(width / 2.0, height / 2.0, "middle", kChartRangeProblem));
  const double plotWidth = width - kLeftMargin - kRightMargin;
  const LegendGrid legend = LayOutLegend(chart, plotWidth);
  const double notesHeight = static_cast<double>(chart.notes.size()) * kLegendRowHeight;
  const Frame frame{kLeftMargin, kTopMargin, width - kRightMargin,
                    height - kFrequencyLabelSpace - legend.rows * kLegendRowHeight - notesHeight - kLabelGap};
  const int mostSteps = std::clamp(static_cast<int>(frame.Height() / kPixelsPerLossStep), 1, kMostLossSteps);
  const LossAxis axis(chart, mostSteps);

  std::string body = LossLines(chart, axis, frame) + FrequencyAxis(chart, frame, width);
  body += "<rect class=\"axes\" x=\"" + Number(frame.left) + "\" y=\"" + Number(frame.top) + "\" width=\"" +
          Number(frame.Width()) + "\" height=\"" + Number(frame.Height()) + "\" fill=\"none\" stroke=\"" +
          std::string(kAxisColor) + "\"/>\n";
  for (std::size_t s = 0; s < SeriesShown(chart); ++s) body += SeriesLines(chart, s, frame, axis);
  body += Legend(chart, legend, frame);
  body += Notes(chart, frame.bottom + kFrequencyLabelSpace + legend.rows * kLegendRowHeight);
  return Document(width, height, body);
}

}  // namespace ferrolux::chart
