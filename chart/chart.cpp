#include "chart/chart.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

#include "chart/across_axis.hpp"
#include "chart/chart_rows.hpp"
#include "chart/chart_scale.hpp"
#include "text/cells.hpp"
#include "text/charset.hpp"

namespace ferrolux::chart {

namespace {

constexpr int kMinWidth = 20;
constexpr int kMinHeight = 6;
constexpr int kMinPlotRows = 2;
constexpr int kFixedRows = 3;  // the loss unit above the plot, the frequency axis and its labels
constexpr int kMostLossSteps = 10;
constexpr int kLegendGap = 3;
constexpr int kShortestLegendLabel = 3;
constexpr int kMarkSpacing = 8;  // cells between two marks of one series on a braille curve

// Marks and colours go together: a series keeps both whether the terminal shows colour or not.
constexpr std::array<char, kMaxChartSeries> kMarks{'*', '+', 'o', 'x', '#', '@', '%', '&'};
// Eight hues of the 256-colour palette, none a lighter or darker twin of another, each readable
// on a dark and a light background: red, blue, green, purple, orange, teal, pink, olive.
constexpr std::array<int, kMaxChartSeries> kColors{160, 33, 34, 129, 208, 37, 199, 142};
constexpr int kTitleGap = 2;

int SeriesColor(const ChartSettings& chart, std::size_t series) { return chart.color ? kColors[series] : kPlain; }

// The plot area in dots: two across and four down per cell in braille, one per cell in ASCII.
// Each cell remembers the series that passed through it and a series mark set upon it.
class DotCanvas {
 public:
  struct Spot {
    std::uint8_t dots = 0;
    std::uint8_t series = 0;
    std::uint8_t clipped = 0;  // series whose values here lie beyond the axis's top
    int mark = -1;
  };

  DotCanvas(int columns, int rows, bool braille)
      : columns_(columns),
        rows_(rows),
        across_(braille ? 2 : 1),
        down_(braille ? 4 : 1),
        spots_(static_cast<std::size_t>(columns * rows)) {}

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int DotsAcross() const { return across_; }
  int DotColumns() const { return columns_ * across_; }
  int DotRows() const { return rows_ * down_; }
  int RowOfDot(int y) const { return rows_ - 1 - y / down_; }
  const Spot& At(int column, int row) const { return spots_[Index(column, row)]; }

  // y counts up from the bottom row of dots.
  void Plot(int x, int y, std::size_t series) {
    constexpr std::array<std::array<std::uint8_t, 4>, 2> kBrailleBits{
        {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}}};
    Spot& spot = Mutable(x / across_, RowOfDot(y));
    spot.dots |= kBrailleBits[x % across_][down_ - 1 - y % down_];
    spot.series |= static_cast<std::uint8_t>(1u << series);
  }
  void Mark(int column, int row, std::size_t series) { Mutable(column, row).mark = static_cast<int>(series); }
  void Clip(int x, std::size_t series) { Mutable(x / across_, 0).clipped |= static_cast<std::uint8_t>(1u << series); }

 private:
  std::size_t Index(int column, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
  }
  Spot& Mutable(int column, int row) { return spots_[Index(column, row)]; }

  int columns_, rows_, across_, down_;
  std::vector<Spot> spots_;
};

int DotOfShare(double share, int dotRows) {
  return std::clamp(static_cast<int>(std::lround(share * (dotRows - 1))), 0, dotRows - 1);
}

// Samples the series once per dot column; steep stretches are joined up so the curve stays a line.
std::vector<std::optional<int>> TraceSeries(DotCanvas& canvas, const ChartSettings& chart, std::size_t series,
                                            const LossAxis& axis) {
  std::vector<std::optional<int>> heights(static_cast<std::size_t>(canvas.DotColumns()));
  std::optional<int> previous;
  for (int x = 0; x < canvas.DotColumns(); ++x) {
    const double mhz = AcrossAt(chart, (x + 0.5) / canvas.DotColumns());
    const std::optional<double> loss = PlottableLoss(chart.series[series], mhz, chart.signedValues);
    const std::optional<double> share = loss ? axis.Share(*loss) : std::nullopt;
    std::optional<int> height;
    // A dashed series leaves every other stretch of two cells blank.
    const bool gap = chart.series[series].dashed && x / (2 * canvas.DotsAcross()) % 2 == 1;
    if (share && !gap) {
      height = DotOfShare(*share, canvas.DotRows());
      const int from = previous ? *previous + (*height > *previous) - (*height < *previous) : *height;
      for (int y = std::min(from, *height); y <= std::max(from, *height); ++y) canvas.Plot(x, y, series);
      if (axis.Clipped(*loss)) canvas.Clip(x, series);
    }
    heights[static_cast<std::size_t>(x)] = previous = height;
  }
  return heights;
}

// On a monochrome braille chart a series shows its mark every few cells, staggered against the
// other series so curves that run together still show every mark.
void MarkSeries(DotCanvas& canvas, const std::vector<std::optional<int>>& heights, std::size_t series,
                std::size_t count) {
  const int spacing = std::max(kMarkSpacing, 2 * static_cast<int>(count));
  const int offset = (spacing / 2 + static_cast<int>(series) * spacing / static_cast<int>(count)) % spacing;
  for (int column = offset; column < canvas.Columns(); column += spacing)
    if (const auto& y = heights[static_cast<std::size_t>(column) * static_cast<std::size_t>(canvas.DotsAcross())])
      canvas.Mark(column, canvas.RowOfDot(*y), series);
}

void DrawAllSeries(DotCanvas& canvas, const ChartSettings& chart, const LossAxis& axis) {
  const std::size_t count = SeriesShown(chart);
  for (std::size_t series = 0; series < count; ++series) {
    const auto heights = TraceSeries(canvas, chart, series, axis);
    if (chart.utf8 && !chart.color) MarkSeries(canvas, heights, series, count);
  }
}

// Where series overlap, the cells take turns column by column so each stays visible.
std::size_t CellOwner(std::uint8_t series, int column) {
  int turn = column % std::popcount(series);
  for (std::size_t s = 0;; ++s)
    if ((series >> s & 1) && turn-- == 0) return s;
}

constexpr char32_t kBrailleBlank = 0x2800;

std::string Braille(std::uint8_t dots) {
  std::string glyph;
  AppendUtf8(glyph, kBrailleBlank + dots);
  return glyph;
}

Cell SpotCell(const DotCanvas::Spot& spot, int column, const ChartSettings& chart) {
  if (spot.mark >= 0) return {std::string(1, kMarks[spot.mark]), SeriesColor(chart, spot.mark)};
  if (spot.series == 0) return {};
  const std::size_t owner = CellOwner(spot.series, column);
  if (spot.clipped >> owner & 1) return {"^", SeriesColor(chart, owner)};
  return {chart.utf8 ? Braille(spot.dots) : std::string(1, kMarks[owner]), SeriesColor(chart, owner)};
}

int LossLabelWidth(const LossAxis& axis) {
  int widest = 0;
  for (const LossTick& tick : axis.Ticks()) widest = std::max(widest, DisplayWidth(tick.text));
  return widest;
}

std::vector<Row> PlotRows(const DotCanvas& canvas, const LossAxis& axis, int left, const ChartSettings& chart) {
  const Glyphs& glyphs = chart.utf8 ? kUnicodeGlyphs : kAsciiGlyphs;
  std::vector<Row> rows(static_cast<std::size_t>(canvas.Rows()), Row(static_cast<std::size_t>(chart.width)));
  for (int row = 0; row < canvas.Rows(); ++row) {
    PutText(rows[row], left - 1, glyphs.lossAxis);
    for (int column = 0; column < canvas.Columns(); ++column)
      rows[row][left + column] = SpotCell(canvas.At(column, row), column, chart);
  }
  if (const auto zero = axis.ZeroShare()) {
    Row& row = rows[canvas.RowOfDot(DotOfShare(*zero, canvas.DotRows()))];
    for (int column = left; column < chart.width; ++column)
      if (row[column].glyph == " ") row[column].glyph = glyphs.frequencyAxis;
  }
  for (const LossTick& tick : axis.Ticks()) {
    Row& row = rows[canvas.RowOfDot(DotOfShare(tick.share, canvas.DotRows()))];
    PutText(row, left - 1 - DisplayWidth(tick.text), tick.text);
    PutText(row, left - 1, glyphs.lossTick);
  }
  return rows;
}

// Cells that label texts took, so one label neither writes over another nor runs into it: a
// label needs a blank on either side, else it does not take the place.
class LabelSpace {
 public:
  LabelSpace(int width, int rows) : width_(width), taken_(static_cast<std::size_t>(width * rows)) {}
  bool Take(int row, int start, int width) {
    const auto rowStart = taken_.begin() + static_cast<std::ptrdiff_t>(row) * width_;
    const auto first = rowStart + start;
    const auto clearFrom = rowStart + std::max(0, start - 1), clearTo = rowStart + std::min(width_, start + width + 1);
    if (std::any_of(clearFrom, clearTo, [](bool taken) { return taken; })) return false;
    std::fill(first, first + width, true);
    return true;
  }

 private:
  int width_;
  std::vector<bool> taken_;
};

// Each label's point marked, and its text above the point, or below where the row above is taken
// by another label; where both are, the later label's text is dropped.
void DrawLabels(std::vector<Row>& rows, const DotCanvas& canvas, const LossAxis& axis, int left,
                const ChartSettings& chart) {
  const TextTarget target = chart.utf8 ? TextTarget::kUtf8Terminal : TextTarget::kAsciiTerminal;
  LabelSpace space(chart.width, canvas.Rows());
  for (const ChartLabel& note : chart.labels) {
    const std::optional<double> share = axis.Share(note.value);
    if (note.series >= SeriesShown(chart) || !share) continue;
    const double along = AcrossShare(chart, note.mhz);
    if (!(along >= 0 && along <= 1)) continue;
    const int column = left + std::min(canvas.Columns() - 1, static_cast<int>(along * canvas.Columns()));
    const int row = canvas.RowOfDot(DotOfShare(*share, canvas.DotRows()));
    const std::string text = FitWidth(PrintableText(note.text, target), canvas.Columns(), chart.utf8);
    const int width = DisplayWidth(text);
    const int start = std::clamp(column - width / 2, left, chart.width - width);
    const int color = SeriesColor(chart, note.series);
    rows[row][column] = {chart.utf8 ? "•" : "@", color};
    for (const int textRow : {row - 1, row + 1})
      if (textRow >= 0 && textRow < canvas.Rows() && space.Take(textRow, start, width)) {
        PutText(rows[textRow], start, text, color);
        break;
      }
  }
}

std::string LegendSample(const ChartSettings& chart, std::size_t series) {
  std::string mark(1, kMarks[series]);
  if (!chart.utf8) return mark;
  const bool dashed = chart.series[series].dashed;
  if (chart.color) return dashed ? "┅┅" : "━━";
  return dashed ? "┄" + mark + "┄" : "─" + mark + "─";
}

int LegendColumnWidth(int width, int perLine) { return (width - kLegendGap * (perLine - 1)) / perLine; }

// The fewest lines that hold every entry whole, else as many as allowed with labels cut short.
std::optional<int> LegendLineCount(const std::vector<int>& entryWidths, int shortestEntry, int width, int mostLines) {
  const int count = static_cast<int>(entryWidths.size());
  const int widest = *std::max_element(entryWidths.begin(), entryWidths.end());
  const int most = std::min(count, mostLines);
  for (int lines = 1; lines <= most; ++lines)
    if (LegendColumnWidth(width, (count + lines - 1) / lines) >= widest) return lines;
  if (most >= 1 && LegendColumnWidth(width, (count + most - 1) / most) >= shortestEntry) return most;
  return std::nullopt;
}

std::optional<std::vector<Row>> LegendRows(const ChartSettings& chart, int mostLines) {
  const std::size_t count = SeriesShown(chart);
  if (count == 0) return std::vector<Row>{};
  const TextTarget target = chart.utf8 ? TextTarget::kUtf8Terminal : TextTarget::kAsciiTerminal;
  const int sampleWidth = DisplayWidth(LegendSample(chart, 0));
  std::vector<std::string> labels;
  std::vector<int> entryWidths;
  for (std::size_t s = 0; s < count; ++s) {
    labels.push_back(PrintableText(chart.series[s].label, target));
    entryWidths.push_back(sampleWidth + 1 + DisplayWidth(labels.back()));
  }
  const std::optional<int> lines =
      LegendLineCount(entryWidths, sampleWidth + 1 + kShortestLegendLabel, chart.width, mostLines);
  if (!lines) return std::nullopt;
  const int perLine = (static_cast<int>(count) + *lines - 1) / *lines;
  const int columnWidth = LegendColumnWidth(chart.width, perLine);
  std::vector<Row> rows(static_cast<std::size_t>(*lines), Row(static_cast<std::size_t>(chart.width)));
  for (std::size_t s = 0; s < count; ++s) {
    Row& row = rows[s / static_cast<std::size_t>(perLine)];
    const int column = static_cast<int>(s % static_cast<std::size_t>(perLine)) * (columnWidth + kLegendGap);
    PutText(row, column, LegendSample(chart, s), SeriesColor(chart, s));
    PutText(row, column + sampleWidth + 1, FitWidth(labels[s], columnWidth - sampleWidth - 1, chart.utf8));
  }
  return rows;
}

// The loss axis's unit at the left, and what is drawn in the middle, or after the unit where the
// middle is taken.
Row TitleRow(const ChartSettings& chart) {
  const TextTarget target = chart.utf8 ? TextTarget::kUtf8Terminal : TextTarget::kAsciiTerminal;
  const std::string unit = PrintableText(chart.unit, target);
  const std::string title = PrintableText(chart.title, target);
  Row row(static_cast<std::size_t>(chart.width));
  PutText(row, 0, unit);
  const int earliest = DisplayWidth(unit) + kTitleGap;
  const int room = chart.width - earliest;
  if (room <= 0 || title.empty()) return row;
  const std::string shown = FitWidth(title, room, chart.utf8);
  PutText(row, std::max(earliest, (chart.width - DisplayWidth(shown)) / 2), shown);
  return row;
}

std::string SizeProblem(const ChartSettings& chart, std::string_view why) {
  return "Cannot plot in " + std::to_string(chart.width) + "x" + std::to_string(chart.height) +
         " characters: " + std::string(why);
}

}  // namespace

std::vector<std::string> DrawChart(const ChartSettings& chart) {
  if (!AcrossRangeValid(chart)) return {std::string(AcrossRangeProblem(chart))};
  constexpr std::string_view kTooSmall = "too small for the chart and its legend.";
  if (chart.width < kMinWidth || chart.height < kMinHeight) return {SizeProblem(chart, kTooSmall)};
  if (chart.width > kChartLargest || chart.height > kChartLargest)
    return {SizeProblem(chart, "at most " + std::to_string(kChartLargest) + "x" + std::to_string(kChartLargest) + ".")};
  const auto legend = LegendRows(chart, chart.height - kFixedRows - kMinPlotRows);
  if (!legend) return {SizeProblem(chart, kTooSmall)};
  const int plotRows = chart.height - kFixedRows - static_cast<int>(legend->size());
  const LossAxis axis(chart, std::clamp((plotRows - 1) / 2, 1, kMostLossSteps));
  const int left = LossLabelWidth(axis) + 1;
  DotCanvas canvas(chart.width - left, plotRows, chart.utf8);
  DrawAllSeries(canvas, chart, axis);

  std::vector<Row> rows{TitleRow(chart)};
  std::vector<Row> plot = PlotRows(canvas, axis, left, chart);
  DrawLabels(plot, canvas, axis, left, chart);
  for (Row& row : plot) rows.push_back(std::move(row));
  for (Row& row : AcrossAxisRows(chart, left, canvas.Columns())) rows.push_back(std::move(row));
  rows.insert(rows.end(), legend->begin(), legend->end());
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const Row& row : rows) lines.push_back(RowText(row));
  return lines;
}

}  // namespace ferrolux::chart
