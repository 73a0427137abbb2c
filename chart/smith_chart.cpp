#include "chart/smith_chart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "chart/chart_scale.hpp"
#include "chart/smith_grid.hpp"
#include "text/cells.hpp"
#include "text/charset.hpp"

namespace ferrolux::chart {

std::optional<std::complex<double>> ReflectionOf(std::complex<double> ohms, double refOhms) {
  if (!(refOhms > 0) || std::isnan(ohms.real()) || std::isnan(ohms.imag())) return std::nullopt;
  if (std::isinf(ohms.real()) || std::isinf(ohms.imag())) return ohms.real() < 0 ? std::nullopt : std::optional(1.0);
  if (ohms.real() < 0) return std::nullopt;
  const std::complex<double> z = ohms / refOhms;
  return (z - 1.0) / (z + 1.0);
}

SmithFrame FitSmithFrame(double width, double height, double acrossPerDown, double margin) {
  const double down =
      std::max(0.0, std::min(height / 2 - margin, acrossPerDown * (width / 2 - margin / acrossPerDown)));
  return {width / 2, height / 2, down / acrossPerDown, down};
}

std::vector<std::size_t> SmithLabelledSamples(const SmithTrace& trace, int most) {
  const std::size_t count = trace.samples.size();
  std::vector<std::size_t> picked;
  if (count == 0 || most < 1) return picked;
  const std::size_t shown = std::min(count, static_cast<std::size_t>(std::max(most, 2)));
  for (std::size_t i = 0; i < shown; ++i) picked.push_back(shown == 1 ? 0 : i * (count - 1) / (shown - 1));
  picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
  return picked;
}

namespace {

constexpr int kMinWidth = 40, kMinHeight = 12;
constexpr int kFixedRows = 3;  // title, the unit and the legend
constexpr int kGridColor = 244, kCircleColor = 142, kPlain = -1;
constexpr std::array<int, kMaxChartSeries> kTraceColors{160, 33, 34, 129, 208, 37, 199, 142};
constexpr std::array<char, kMaxChartSeries> kTraceMarks{'*', '+', 'o', 'x', '#', '@', '%', '&'};
constexpr int kLabelledSamples = 5;

// Layers in rising priority: a cell shows the colour of the highest one whose dots it holds.
enum Layer : int { kNone = 0, kGrid = 1, kCircle = 2, kFirstTrace = 3 };

struct TermCell {
  std::uint8_t dots = 0;
  int layer = kNone;
  std::string text;  // a label or marker, drawn over the dots
  int textColor = kPlain;
};

class SmithCanvas {
 public:
  SmithCanvas(int columns, int rows, bool braille)
      : columns_(columns),
        rows_(rows),
        across_(braille ? 2 : 1),
        down_(braille ? 4 : 1),
        cells_(static_cast<std::size_t>(columns * rows)) {}
  int DotColumns() const { return columns_ * across_; }
  int DotRows() const { return rows_ * down_; }
  int Down() const { return down_; }
  double AcrossPerDown() const { return down_ / (2.0 * across_); }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int ColumnOf(double x) const { return static_cast<int>(std::lround(x)) / across_; }
  int RowOf(double y) const { return static_cast<int>(std::lround(y)) / down_; }

  void Plot(SmithPoint dot, int layer) {
    const int x = static_cast<int>(std::lround(dot.x)), y = static_cast<int>(std::lround(dot.y));
    if (x < 0 || y < 0 || x >= DotColumns() || y >= DotRows()) return;
    constexpr std::array<std::array<std::uint8_t, 4>, 2> kBrailleBits{
        {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}}};
    TermCell& cell = At(x / across_, y / down_);
    cell.dots |= kBrailleBits[x % across_][y % down_];
    cell.layer = std::max(cell.layer, layer);
  }
  void Put(int column, int row, std::string_view text, int color) {
    if (row < 0 || row >= rows_) return;
    for (std::size_t at = 0; at < text.size(); ++column) {
      const std::size_t length = DecodeUtf8(text.substr(at)).length;
      if (column >= 0 && column < columns_) At(column, row) = {0, kNone, std::string(text.substr(at, length)), color};
      at += length;
    }
  }
  TermCell& At(int column, int row) {
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column)];
  }

 private:
  int columns_, rows_, across_, down_;
  std::vector<TermCell> cells_;
};

struct TermStyle {
  bool utf8, color;
  int LayerColor(int layer) const {
    if (!color || layer == kNone) return kPlain;
    if (layer == kGrid) return kGridColor;
    if (layer == kCircle) return kCircleColor;
    return kTraceColors[static_cast<std::size_t>(layer - kFirstTrace)];
  }
  std::string LayerMark(int layer) const {
    if (layer == kGrid) return ".";
    if (layer == kCircle) return ":";
    return std::string(1, kTraceMarks[static_cast<std::size_t>(layer - kFirstTrace)]);
  }
};

void DrawPath(SmithCanvas& canvas, const SmithFrame& frame, const std::vector<std::complex<double>>& path, int layer,
              int dash) {
  std::optional<SmithPoint> previous;
  double travelled = 0;
  for (const std::complex<double>& gamma : path) {
    const SmithPoint to = frame.At(gamma);
    const SmithPoint from = previous.value_or(to);
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    for (int step = 1; step <= steps; ++step) {
      const double share = static_cast<double>(step) / steps;
      if (dash == 0 || static_cast<int>(travelled + share * length) / dash % 2 == 0)
        canvas.Plot({from.x + share * (to.x - from.x), from.y + share * (to.y - from.y)}, layer);
    }
    travelled += length;
    previous = to;
  }
}

// A trace's reflections, broken where a sample cannot be drawn.
std::vector<std::vector<std::complex<double>>> TracePaths(const SmithTrace& trace, double refOhms) {
  std::vector<std::vector<std::complex<double>>> paths(1);
  for (const SmithSample& sample : trace.samples) {
    if (const auto gamma = ReflectionOf(sample.ohms, refOhms)) paths.back().push_back(*gamma);
    else if (!paths.back().empty()) paths.emplace_back();
  }
  return paths;
}

std::string FrequencyLabel(double mhz) { return std::isfinite(mhz) ? FrequencyText(mhz) : "?"; }

// Text beside a dot, outside the chart's centre when `outward`, kept inside the canvas.
void PutBeside(SmithCanvas& canvas, SmithPoint dot, bool right, const std::string& text, int color) {
  const int width = DisplayWidth(text);
  const int column = right ? canvas.ColumnOf(dot.x) + 1 : canvas.ColumnOf(dot.x) - width;
  canvas.Put(std::clamp(column, 0, std::max(0, canvas.Columns() - width)), canvas.RowOf(dot.y), text, color);
}

void DrawGrid(SmithCanvas& canvas, const SmithFrame& frame, const TermStyle& style, const SmithSettings& chart) {
  const double dots = frame.radiusY;
  for (const auto& curve : SmithGridCurves(dots)) DrawPath(canvas, frame, curve.path, kGrid, curve.rim ? 0 : 1);
  if (chart.swrCircle > 1) DrawPath(canvas, frame, SwrCirclePath(chart.swrCircle, dots), kCircle, 2);
  const int labelColor = style.color ? kGridColor : kPlain;
  for (const GridLabel& label : SmithGridLabels()) {
    const SmithPoint dot = frame.At(label.gamma);
    const int row = canvas.RowOf(dot.y) + (label.onAxis ? -1 : 0);
    const int width = DisplayWidth(label.text);
    int column = canvas.ColumnOf(dot.x);
    if (!label.onAxis) column = label.gamma.real() >= -0.05 ? column + 1 : column - width;
    canvas.Put(std::clamp(column, 0, std::max(0, canvas.Columns() - width)),
               label.onAxis || std::abs(label.gamma.imag()) < 0.9 ? row : row + (label.gamma.imag() > 0 ? -1 : 1),
               label.text, labelColor);
  }
}

void DrawTraces(SmithCanvas& canvas, const SmithFrame& frame, const TermStyle& style, const SmithSettings& chart) {
  const std::size_t count = std::min(chart.traces.size(), kMaxChartSeries);
  for (std::size_t t = count; t-- > 0;) {
    const SmithTrace& trace = chart.traces[t];
    for (const auto& path : TracePaths(trace, chart.refOhms))
      DrawPath(canvas, frame, path, kFirstTrace + static_cast<int>(t), trace.dashed ? 3 : 0);
  }
  for (std::size_t t = count; t-- > 0;) {
    const SmithTrace& trace = chart.traces[t];
    const int color = style.LayerColor(kFirstTrace + static_cast<int>(t));
    const auto picked = SmithLabelledSamples(trace, t == 0 ? kLabelledSamples : 2);
    for (const std::size_t i : picked) {
      const auto gamma = ReflectionOf(trace.samples[i].ohms, chart.refOhms);
      if (!gamma) continue;
      const SmithPoint dot = frame.At(*gamma);
      const bool end = i + 1 == trace.samples.size() && i > 0;
      canvas.Put(canvas.ColumnOf(dot.x), canvas.RowOf(dot.y), i == 0 ? "S" : end ? "E" : "o", color);
      if (t == 0) PutBeside(canvas, dot, gamma->real() >= 0, FrequencyLabel(trace.samples[i].mhz), color);
    }
  }
}

std::string CellText(const TermCell& cell, const TermStyle& style, int& color) {
  std::string out;
  const int wanted = cell.text.empty() ? style.LayerColor(cell.layer) : cell.textColor;
  if (wanted != color) out += SgrCode(wanted == kPlain ? "0" : "38;5;" + std::to_string(wanted));
  color = wanted;
  if (!cell.text.empty()) return out + cell.text;
  if (cell.layer == kNone) return out + " ";
  if (!style.utf8) return out + style.LayerMark(cell.layer);
  AppendUtf8(out, 0x2800 + cell.dots);
  return out;
}

std::string CanvasLine(SmithCanvas& canvas, int row, const TermStyle& style) {
  std::string line;
  int color = kPlain;
  for (int column = 0; column < canvas.Columns(); ++column) line += CellText(canvas.At(column, row), style, color);
  if (color != kPlain) line += SgrCode("0");
  return line;
}

std::string Padded(std::string text, int width, bool utf8) {
  text = FitWidth(text, width, utf8);
  return text + std::string(static_cast<std::size_t>(width - DisplayWidth(text)), ' ');
}

std::string Centred(const std::string& text, int width, bool utf8) {
  const std::string shown = FitWidth(text, width, utf8);
  return Padded(std::string(static_cast<std::size_t>((width - DisplayWidth(shown)) / 2), ' ') + shown, width, utf8);
}

std::string LegendLine(const SmithSettings& chart, const TermStyle& style) {
  const TextTarget target = style.utf8 ? TextTarget::kUtf8Terminal : TextTarget::kAsciiTerminal;
  std::string line;
  int used = 0;
  for (std::size_t t = 0; t < std::min(chart.traces.size(), kMaxChartSeries); ++t) {
    const std::string sample =
        style.utf8 ? (chart.traces[t].dashed ? "┄┄" : "━━") : style.LayerMark(kFirstTrace + static_cast<int>(t));
    const std::string entry = PrintableText(chart.traces[t].label, target) + "   ";
    const int color = style.LayerColor(kFirstTrace + static_cast<int>(t));
    line += color == kPlain ? sample : SgrCode("38;5;" + std::to_string(color)) + sample + SgrCode("0");
    line += " " + entry;
    used += DisplayWidth(sample) + 1 + DisplayWidth(entry);
  }
  std::string rest = "S/E start/end";
  if (chart.swrCircle > 1) rest += std::string(style.utf8 ? "   ⠪ SWR " : "   : SWR ") + FrequencyText(chart.swrCircle);
  const int room = chart.width - used;
  return line + (room > 0 ? Padded(rest, room, style.utf8) : "");
}

}  // namespace

std::vector<std::string> DrawSmithChart(const SmithSettings& chart) {
  if (chart.width < kMinWidth || chart.height < kMinHeight || chart.width > kChartLargest ||
      chart.height > kChartLargest)
    return {"Cannot draw a Smith chart in " + std::to_string(chart.width) + "x" + std::to_string(chart.height) +
            " characters: at least " + std::to_string(kMinWidth) + "x" + std::to_string(kMinHeight) + ", at most " +
            std::to_string(kChartLargest) + "x" + std::to_string(kChartLargest) + "."};
  if (!(chart.refOhms > 0) || !std::isfinite(chart.refOhms))
    return {"Cannot draw a Smith chart: no reference impedance."};
  const TermStyle style{chart.utf8, chart.color};
  SmithCanvas canvas(chart.width, chart.height - kFixedRows, chart.utf8);
  const SmithFrame frame =
      FitSmithFrame(canvas.DotColumns() - 1, canvas.DotRows() - 1, canvas.AcrossPerDown(), canvas.Down());
  DrawGrid(canvas, frame, style, chart);
  DrawTraces(canvas, frame, style, chart);
  const TextTarget target = chart.utf8 ? TextTarget::kUtf8Terminal : TextTarget::kAsciiTerminal;
  std::vector<std::string> lines{Centred(PrintableText(chart.title, target), chart.width, chart.utf8)};
  for (int row = 0; row < canvas.Rows(); ++row) lines.push_back(CanvasLine(canvas, row, style));
  lines.push_back(
      Padded("r + jx = Z / " + FrequencyText(chart.refOhms) + (chart.utf8 ? " Ω" : " ohm"), chart.width, chart.utf8));
  lines.push_back(LegendLine(chart, style));
  return lines;
}

}  // namespace ferrolux::chart
