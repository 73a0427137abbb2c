#include "chart/sweep_views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "chart/chart_scale.hpp"
#include "chart/smith_chart.hpp"
#include "chart/svg_chart.hpp"
#include "chart/svg_parts.hpp"
#include "chart/tdr_view.hpp"
#include "text/cells.hpp"
#include "text/charset.hpp"

namespace ferrolux::chart {
namespace {

// A dipole resonant at 7.1 MHz swept from 5 to 9 MHz, and the same seen through a lossy line that
// turns its reflection three times across the sweep.
SweepViewInput Dipole() {
  SweepViewInput input;
  for (int i = 0; i <= 80; ++i) {
    const double mhz = 5 + 4.0 * i / 80;
    const std::complex<double> antenna(60, 900 * (mhz / 7.1 - 7.1 / mhz));
    const std::complex<double> gamma =
        (antenna - 50.0) / (antenna + 50.0) * std::polar(0.7, -2 * std::numbers::pi * mhz * 3 / 4);
    input.points.push_back({mhz, antenna, 50.0 * (1.0 + gamma) / (1.0 - gamma)});
  }
  input.through = "100 ft of thin coax";
  return input;
}

ChartSettings Frame(bool utf8) {
  ChartSettings frame;
  frame.width = 72;
  frame.height = 22;
  frame.utf8 = utf8;
  frame.color = false;
  return frame;
}

// The chart as a reader sees it, colours and trailing blanks dropped; every line fills the width.
std::string Picture(const std::vector<std::string>& lines, int width) {
  std::string picture;
  for (const std::string& line : lines) {
    std::string text;
    for (std::size_t at = 0; at < line.size(); ++at)
      if (line[at] == '\x1b') at = line.find('m', at);
      else text += line[at];
    EXPECT_EQ(DisplayWidth(text), width) << text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    picture.append(text).append("\n");
  }
  return picture;
}

// The golden file's text; with FERROLUX_UPDATE_GOLDEN set, the file is written from `actual` first.
std::string Golden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(FERROLUX_CHART_GOLDEN_DIR) + "/" + name;
  if (std::getenv("FERROLUX_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << actual;
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(SweepViews, DrawTheGoldenPictures) {
  const SweepViewInput input = Dipole();
  const struct {
    std::string name, picture;
  } cases[] = {
      {"swr_braille.txt", Picture(DrawChart(SwrView(input, Frame(true), kDefaultSwrTop)), 72)},
      {"swr_ascii.txt", Picture(DrawChart(SwrView(input, Frame(false), 4)), 72)},
      {"rx_braille.txt", Picture(DrawChart(ResistanceReactanceView(input, Frame(true))), 72)},
      {"smith_braille.txt", Picture(DrawSmithChart(SmithView(input, Frame(true), 2)), 72)},
      {"smith_ascii.txt", Picture(DrawSmithChart(SmithView(input, Frame(false), 0)), 72)},
      {"swr.svg", DrawSvgChart(SwrView(input, Frame(true), kDefaultSwrTop))},
      {"rx.svg", DrawSvgChart(ResistanceReactanceView(input, Frame(true)))},
      {"smith.svg", DrawSvgSmithChart(SmithView(input, Frame(true), 2))},
  };
  for (const auto& c : cases) EXPECT_EQ(c.picture, Golden(c.name, c.picture)) << c.name;
}

// The title read the axis span, which pads a one-point sweep out to either side of its frequency.
TEST(SweepViews, OnePointSweepTitledWithThePaddedAxisSpan) {
  SweepViewInput input;
  input.points = {{14, {50, 0}, {50, 0}}};
  const std::string span = ", 14 MHz";
  EXPECT_EQ(SwrView(input, Frame(true), kDefaultSwrTop).title, "SWR at the shack and at the antenna" + span);
  EXPECT_EQ(ResistanceReactanceView(input, Frame(true)).title,
            "R and X at the antenna and at the shack (dashed)" + span);
  EXPECT_EQ(SmithView(input, Frame(true), 2).title, "Impedance at the antenna and at the shack (dashed)" + span);
  input.points.push_back({21, {50, 0}, {50, 0}});
  EXPECT_EQ(SwrView(input, Frame(false), kDefaultSwrTop).title, "SWR at the shack and at the antenna, 14-21 MHz");
}

// Two labels on one row, the second moved along in small steps, in the terminal and the SVG.
std::vector<ChartSettings> TwoLabelsEverCloserTogether() {
  std::vector<ChartSettings> charts;
  for (int step = 0; step <= 40; ++step) {
    ChartSettings chart = Frame(false);
    chart.linearUnit = "m";
    chart.fromMHz = 0;
    chart.toMHz = 100;
    chart.signedValues = true;
    chart.series = {{"level", [](double) { return 0.0; }}};
    chart.labels = {{0, 30, 0, "first label"}, {0, 40 + step * 0.25, 0, "second label"}};
    charts.push_back(std::move(chart));
  }
  return charts;
}

// Labels side by side on one row read as one: "X = 0 at 14.01 MHzX = 0 at 69.65 MHz".
TEST(Chart, NeighbouringLabelsRanTogether) {
  const std::regex svgLabel("<text x=\"([0-9.]+)\" y=\"([0-9.]+)\"[^>]*>(first|second) label<");
  for (const ChartSettings& chart : TwoLabelsEverCloserTogether()) {
    for (const std::string& line : DrawChart(chart)) EXPECT_EQ(line.find("labels"), std::string::npos) << line;
    const std::string svg = DrawSvgChart(chart);
    std::vector<std::smatch> texts(std::sregex_iterator(svg.begin(), svg.end(), svgLabel), std::sregex_iterator());
    if (texts.size() != 2 || texts[0][2] != texts[1][2]) continue;
    EXPECT_GE(std::abs(std::stod(texts[1][1]) - std::stod(texts[0][1])),
              (SvgTextWidth("first label") + SvgTextWidth("second label")) / 2 + SvgTextWidth(" "))
        << chart.labels[1].mhz;
  }
}

// Three reflections along 12 m: higher impedance at 3 m, lower at 6.5 m, and an open at 10 m
// that read above 1, so it is shown as 1 and said to be capped.
TdrViewInput ThreeFaults() {
  TdrViewInput input;
  input.spacing = 0.05;
  const struct { double metres, size; } faults[] = {{3, 0.2}, {6.5, -0.35}, {10, 1}};
  for (int n = 0; n <= 240; ++n) {
    double sum = 0;
    for (const auto& fault : faults)
      sum += fault.size * std::exp(-std::pow((n * input.spacing - fault.metres) / 0.2, 2));
    input.reflection.push_back(sum);
  }
  input.peaks = {{10, 1, true}, {6.5, -0.35, false}, {3, 0.2, false}};
  input.how = "low-pass, Kaiser β 6, VF 0.66";
  input.through = "thin coax, loss taken out";
  return input;
}

TEST(TdrView, DrawsTheGoldenPictures) {
  const TdrViewInput input = ThreeFaults();
  const struct {
    std::string name, picture;
  } cases[] = {
      {"tdr_braille.txt", Picture(DrawChart(TdrReflectionView(input, Frame(true))), 72)},
      {"tdr.svg", DrawSvgChart(TdrReflectionView(input, Frame(true)))},
  };
  for (const auto& c : cases) EXPECT_EQ(c.picture, Golden(c.name, c.picture)) << c.name;
}

TEST(SmithChart, PlacesKnownImpedancesWhereGeometrySays) {
  constexpr double kOpen = std::numeric_limits<double>::infinity();
  const struct {
    std::complex<double> ohms, gamma;
    int column, row;    // of a 64x22 braille chart: centre at dot (63.5, 37.5), radius 33.5 dots
    double svgX, svgY;  // of its 640x440 SVG: centre (320, 210), radius 134 px
  } cases[] = {
      {0, -1, 15, 9, 186, 210},
      {kOpen, 1, 48, 9, 454, 210},
      {25, -1.0 / 3, 26, 9, 275.3, 210},
      {50, 0, 32, 9, 320, 210},
      {100, 1.0 / 3, 37, 9, 364.7, 210},
      {{50, 50}, {0.2, 0.4}, 35, 6, 346.8, 156.4},
      {{50, -50}, {0.2, -0.4}, 35, 12, 346.8, 263.6},
  };
  for (const auto& c : cases) {
    const auto gamma = ReflectionOf(c.ohms, 50);
    ASSERT_TRUE(gamma) << c.ohms;
    EXPECT_NEAR(std::abs(*gamma - c.gamma), 0, 1e-12) << c.ohms;
    SmithSettings chart;
    chart.traces = {{"", {{7, c.ohms}}, false}};
    chart.width = 64;
    chart.height = 22;
    chart.utf8 = true;
    chart.color = false;
    const std::vector<std::string> lines = DrawSmithChart(chart);
    const std::u32string row = [&] {
      std::u32string points;
      const std::string& line = lines[static_cast<std::size_t>(c.row) + 1];  // the title comes first
      for (std::size_t at = 0; at < line.size();) {
        const Utf8Char decoded = DecodeUtf8(std::string_view(line).substr(at));
        points += decoded.point;
        at += decoded.length;
      }
      return points;
    }();
    EXPECT_EQ(row[static_cast<std::size_t>(c.column)], U'S') << c.ohms;
    const std::string svg = DrawSvgSmithChart(chart);
    char circle[64];
    std::snprintf(circle, sizeof circle, "<circle cx=\"%.1f\" cy=\"%.1f\"", c.svgX, c.svgY);
    EXPECT_NE(svg.find(circle), std::string::npos) << c.ohms << " " << circle;
  }
}

TEST(SmithChart, OddInputGivesAChartOrOneLineSayingWhy) {
  SmithSettings chart;
  chart.title = "bad\x1b[2Jtitle";
  chart.traces = {{"odd\x07", {{1, {std::nan(""), 0}}, {2, {-5, 3}}, {3, {50, 0}}}, false}};
  chart.width = 40;
  chart.height = 12;
  chart.color = false;
  const std::vector<std::string> lines = DrawSmithChart(chart);
  ASSERT_EQ(lines.size(), 12U);
  for (const std::string& line : lines) EXPECT_EQ(line.find_first_of("\x07\x1b"), std::string::npos) << line;
  SmithSettings narrow = chart, unreferenced = chart;
  narrow.width = 39;
  unreferenced.refOhms = 0;
  EXPECT_EQ(DrawSmithChart(narrow).size(), 1U);
  EXPECT_EQ(DrawSmithChart(unreferenced).size(), 1U);
  EXPECT_EQ(DrawSvgSmithChart(chart).find("nan"), std::string::npos);
}

TEST(LossAxis, FixedLogarithmicTicksThinToTheRows) {
  const struct {
    double top;
    int steps;
    std::string ticks;
  } cases[] = {
      {10, 8, "1 1.5 2 3 5 7 10"}, {10, 5, "1 1.5 2 3 5 10"}, {10, 3, "1 2 5 10"},
      {3, 8, "1 1.5 2 3"},         {100, 4, "1 10 100"},
  };
  for (const auto& c : cases) {
    ChartSettings chart;
    chart.logValues = true;
    chart.valueBottom = 1;
    chart.valueTop = c.top;
    std::string ticks;
    const LossAxis axis(chart, c.steps);
    for (const LossTick& tick : axis.Ticks()) ticks += (ticks.empty() ? "" : " ") + tick.text;
    EXPECT_EQ(ticks, c.ticks) << c.top << " in " << c.steps;
  }
}

}  // namespace
}  // namespace ferrolux::chart
