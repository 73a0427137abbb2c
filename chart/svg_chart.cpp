#include "chart/svg_chart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/across_axis.hpp"
#include "chart/chart_scale.hpp"
#include "chart/svg_parts.hpp"
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
constexpr double kLabelGap = 8;
constexpr double kPixelsPerSample = 2;
constexpr double kPixelsPerLossStep = 40;
constexpr int kMostLossSteps = 10;
constexpr double kPixelsPerTick = 80;                      // on a linear axis across
constexpr double kTitleType = 12, kSmallestTitleType = 8;  // font sizes, px
constexpr std::string_view kAxisColor = "#333333";
constexpr std::string_view kGridColor = "#dddddd";

struct Frame {
  double left, top, right, bottom;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

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
    widest = std::max(widest, kLegendLineLength + kLabelGap * 2 + SvgTextWidth(chart.series[s].label));
  const int perRow = std::clamp(static_cast<int>(plotWidth / widest), 1, count);
  return {perRow, (count + perRow - 1) / perRow, plotWidth / perRow};
}

std::string Legend(const ChartSettings& chart, const LegendGrid& grid, const Frame& frame) {
  std::string body;
  for (std::size_t s = 0; s < SeriesShown(chart); ++s) {
    const std::size_t row = s / grid.perRow;
    const double x = frame.left + static_cast<double>(s % grid.perRow) * grid.entryWidth;
    const double y = frame.bottom + kFrequencyLabelSpace + kLegendRowHeight * (static_cast<double>(row) + 0.5);
    body += "<g stroke=\"" + std::string(kSvgSeriesColors[s]) + "\" stroke-width=\"3\"" +
            (chart.series[s].dashed ? " stroke-dasharray=\"8,5\"" : "") + ">" +
            SvgLine(x, y, x + kLegendLineLength, y) + "</g>\n";
    body += SvgText(x + kLegendLineLength + kLabelGap, y + 4, "start", chart.series[s].label);
  }
  return SvgGroup("class=\"legend\"", body);
}

// One line each below the legend, from `top` down.
std::string Notes(const ChartSettings& chart, double top) {
  std::string body;
  for (std::size_t i = 0; i < chart.notes.size(); ++i)
    body += SvgText(kLeftMargin, top + kLegendRowHeight * (static_cast<double>(i) + 0.5) + 4, "start", chart.notes[i]);
  return body.empty() ? body : SvgGroup("class=\"notes\"", body);
}

std::string LossLines(const ChartSettings& chart, const LossAxis& axis, const Frame& frame) {
  std::string grid, labels;
  for (const LossTick& tick : axis.Ticks()) {
    const double y = frame.bottom - tick.share * frame.Height();
    if (tick.share > 0) grid += SvgLine(frame.left, y, frame.right, y);
    labels += SvgText(frame.left - 6, y + 4, "end", tick.text);
  }
  if (const auto zero = axis.ZeroShare()) {
    const double y = frame.bottom - *zero * frame.Height();
    labels += "<g stroke=\"" + std::string(kAxisColor) + "\">" + SvgLine(frame.left, y, frame.right, y) + "</g>\n";
  }
  labels += SvgText(frame.left - 6, frame.top - 12, "start", chart.unit);
  // Centred over the plot, or moved right where a long title would run into the unit.
  const double titleFrom = frame.left - 6 + SvgTextWidth(chart.unit) + kLabelGap;
  const double middle = (frame.left + frame.right) / 2, width = SvgTextWidth(chart.title);
  const double room = frame.right + kRightMargin - titleFrom;
  if (middle - width / 2 >= titleFrom) labels += SvgText(middle, frame.top - 12, "middle", chart.title);
  else if (width <= room) labels += SvgText(titleFrom, frame.top - 12, "start", chart.title);
  else  // smaller type rather than a title cut off by the page
    labels += SvgGroup("font-size=\"" + SvgNumber(std::max(kSmallestTitleType, kTitleType * room / width)) + "\"",
                       SvgText(titleFrom, frame.top - 12, "start", chart.title));
  return SvgGroup("class=\"loss-grid\" stroke=\"" + std::string(kGridColor) + "\"", grid) +
         SvgGroup("class=\"loss-labels\" fill=\"" + std::string(kAxisColor) + "\"", labels);
}

AxisLabel CentredLabel(std::string text, double x) {
  const double width = SvgTextWidth(text);
  return {std::move(text), x - width / 2, width};
}

std::string FrequencyAxis(const ChartSettings& chart, const Frame& frame, double documentWidth) {
  std::string grid;
  // Both ends first, so a band near one gives way to them.
  std::vector<AxisLabel> labels{CentredLabel(AcrossEndText(chart, chart.fromMHz), frame.left),
                                CentredLabel(AcrossEndText(chart, chart.toMHz), frame.right)};
  for (AcrossTick& tick : AcrossTicks(chart, static_cast<int>(frame.Width() / kPixelsPerTick))) {
    const double x = frame.left + AcrossShare(chart, tick.at) * frame.Width();
    grid += SvgLine(x, frame.top, x, frame.bottom);
    labels.push_back(CentredLabel(std::move(tick.label), x));
  }
  PlaceAxisLabels(labels, 0, documentWidth, kLabelGap);
  std::string texts;
  for (const AxisLabel& label : labels)
    if (label.shown) texts += SvgText(label.start + label.width / 2, frame.bottom + 18, "middle", label.text);
  texts += SvgText((frame.left + frame.right) / 2, frame.bottom + 36, "middle", AcrossUnit(chart));
  return SvgGroup("class=\"frequency-grid\" stroke=\"" + std::string(kGridColor) + "\"", grid) +
         SvgGroup("class=\"frequency-labels\" fill=\"" + std::string(kAxisColor) + "\"", texts);
}

// One polyline per unbroken run of plottable losses: normally one for the whole range.
// A triangle on the top edge over a stretch whose values lie beyond the axis's top.
std::string ClipMark(const Frame& frame, double share) {
  const double x = frame.left + share * frame.Width();
  return "<polygon points=\"" + SvgNumber(x - 5) + "," + SvgNumber(frame.top + 9) + " " + SvgNumber(x + 5) + "," +
         SvgNumber(frame.top + 9) + " " + SvgNumber(x) + "," + SvgNumber(frame.top) + "\"/>\n";
}

// Each label's point ringed and its text above or below it, wherever it keeps a blank's width
// clear of the labels before it; where nowhere does, the later label's text is dropped.
std::string PointLabels(const ChartSettings& chart, const Frame& frame, const LossAxis& axis) {
  const double blankWidth = SvgTextWidth(" ");
  std::string body;
  std::vector<Frame> taken;
  for (const ChartLabel& note : chart.labels) {
    const std::optional<double> height = axis.Share(note.value);
    const double along = AcrossShare(chart, note.mhz);
    if (note.series >= SeriesShown(chart) || !height || !(along >= 0 && along <= 1)) continue;
    const double x = frame.left + along * frame.Width(), y = frame.bottom - *height * frame.Height();
    const std::string color(kSvgSeriesColors[note.series]);
    body += "<circle cx=\"" + SvgNumber(x) + "\" cy=\"" + SvgNumber(y) + "\" r=\"4\" fill=\"none\" stroke=\"" + color +
            "\"/>\n";
    const double width = SvgTextWidth(note.text);
    // Kept inside the frame, so a label at either end is not cut off by the page.
    const double centre = std::clamp(x, frame.left + width / 2, std::max(frame.left, frame.right - width / 2));
    for (const double below : {-8.0, 18.0, -24.0, 34.0, -40.0, 50.0}) {
      const Frame box{centre - width / 2, y + below - 12, centre + width / 2, y + below + 2};
      const auto clashes = [&](const Frame& other) {
        return box.left < other.right + blankWidth && other.left < box.right + blankWidth && box.top < other.bottom &&
               other.top < box.bottom;
      };
      if (box.top < frame.top || std::any_of(taken.begin(), taken.end(), clashes)) continue;
      taken.push_back(box);
      body += SvgGroup("fill=\"" + color + "\"", SvgText(centre, y + below, "middle", note.text));
      break;
    }
  }
  return SvgGroup("class=\"labels\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\"", body);
}

std::string SeriesLines(const ChartSettings& chart, std::size_t series, const Frame& frame, const LossAxis& axis) {
  const int samples = std::max(2, static_cast<int>(frame.Width() / kPixelsPerSample) + 1);
  std::string body = "<title>" + SvgEscaped(chart.series[series].label) + "</title>\n";
  std::string points, clipMarks;
  const auto flush = [&] {
    if (!points.empty()) body += "<polyline points=\"" + points + "\"/>\n";
    points.clear();
  };
  std::optional<double> clippedFrom;
  for (int i = 0; i < samples; ++i) {
    const double share = i / (samples - 1.0);
    const auto loss = PlottableLoss(chart.series[series], AcrossAt(chart, share), chart.signedValues);
    const std::optional<double> height = loss ? axis.Share(*loss) : std::nullopt;
    const bool clipped = loss && axis.Clipped(*loss);
    if (clipped && !clippedFrom) clippedFrom = share;
    if (!clipped && clippedFrom) clipMarks += ClipMark(frame, (*std::exchange(clippedFrom, std::nullopt) + share) / 2);
    if (!height) {
      flush();
      continue;
    }
    const double y = frame.bottom - *height * frame.Height();
    points.append(points.empty() ? "" : " ")
        .append(SvgNumber(frame.left + share * frame.Width()))
        .append(",")
        .append(SvgNumber(y));
  }
  flush();
  if (clippedFrom) clipMarks += ClipMark(frame, (*clippedFrom + 1) / 2);
  const std::string color(kSvgSeriesColors[series]);
  return SvgGroup("class=\"series\" fill=\"none\" stroke=\"" + color +
                      "\" stroke-width=\"2\" stroke-linejoin=\"round\"" +
                      (chart.series[series].dashed ? " stroke-dasharray=\"8,5\"" : ""),
                  body) +
         SvgGroup("class=\"clipped\" fill=\"" + color + "\"", clipMarks);
}

}  // namespace

std::string DrawSvgChart(const ChartSettings& chart) {
  const int width = std::clamp(chart.width, kMinWidth / kPixelsPerColumn, kChartLargest) * kPixelsPerColumn;
  const int height = std::clamp(chart.height, kMinHeight / kPixelsPerRow, kChartLargest) * kPixelsPerRow;
  if (!AcrossRangeValid(chart))
    return SvgDocument(width, height, SvgText(width / 2.0, height / 2.0, "middle", AcrossRangeProblem(chart)));
  const double plotWidth = width - kLeftMargin - kRightMargin;
  const LegendGrid legend = LayOutLegend(chart, plotWidth);
  const double notesHeight = static_cast<double>(chart.notes.size()) * kLegendRowHeight;
  const Frame frame{kLeftMargin, kTopMargin, width - kRightMargin,
                    height - kFrequencyLabelSpace - legend.rows * kLegendRowHeight - notesHeight - kLabelGap};
  const int mostSteps = std::clamp(static_cast<int>(frame.Height() / kPixelsPerLossStep), 1, kMostLossSteps);
  const LossAxis axis(chart, mostSteps);

  std::string body = LossLines(chart, axis, frame) + FrequencyAxis(chart, frame, width);
  body += "<rect class=\"axes\" x=\"" + SvgNumber(frame.left) + "\" y=\"" + SvgNumber(frame.top) + "\" width=\"" +
          SvgNumber(frame.Width()) + "\" height=\"" + SvgNumber(frame.Height()) + "\" fill=\"none\" stroke=\"" +
          std::string(kAxisColor) + "\"/>\n";
  for (std::size_t s = 0; s < SeriesShown(chart); ++s) body += SeriesLines(chart, s, frame, axis);
  body += PointLabels(chart, frame, axis);
  body += Legend(chart, legend, frame);
  body += Notes(chart, frame.bottom + kFrequencyLabelSpace + legend.rows * kLegendRowHeight);
  return SvgDocument(width, height, body);
}

}  // namespace ferrolux::chart
