#include "chart/chart.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chart/chart_scale.hpp"
#include "chart/svg_chart.hpp"
#include "support/temp_folder.hpp"
#include "text/cells.hpp"

namespace ferrolux::chart {
namespace {

// Two cables whose loss grows with the root of the frequency: 12.6 and 3.8 dB at 1000 MHz.
ChartSettings TwoCables(bool utf8, bool color) {
  ChartSettings chart;
  chart.series = {{"thin", [](double mhz) { return 0.4 * std::sqrt(mhz); }},
                  {"thick", [](double mhz) { return 0.12 * std::sqrt(mhz); }}};
  chart.unit = "dB/100 ft";
  chart.title = "Matched loss per 100 ft";
  chart.width = 60;
  chart.height = 16;
  chart.utf8 = utf8;
  chart.color = color;
  return chart;
}

std::string WithoutColor(const std::string& line) {
  std::string text;
  for (std::size_t at = 0; at < line.size(); ++at)
    if (line[at] == '\x1b') at = line.find('m', at);
    else text += line[at];
  return text;
}

std::string TrimmedRight(std::string line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// The chart as a reader sees it, trailing blanks dropped; every line must fill the width.
std::string Picture(const std::vector<std::string>& lines, int width) {
  std::string picture;
  for (const std::string& line : lines) {
    EXPECT_EQ(DisplayWidth(WithoutColor(line)), width) << line;
    picture.append("\n").append(TrimmedRight(WithoutColor(line)));
  }
  return picture + "\n";
}

// Each printed character replaced by the series its colour stands for: 1 for red, 2 for blue,
// '.' for plain text.
std::string ColorPicture(const std::vector<std::string>& lines) {
  const std::map<std::string, char> kSeries{{"0", '.'}, {"38;5;160", '1'}, {"38;5;33", '2'}};
  std::string picture;
  for (const std::string& line : lines) {
    std::string row;
    char color = '.';
    for (std::size_t at = 0; at < line.size();) {
      if (line[at] == '\x1b') {
        const std::size_t end = line.find('m', at);
        color = kSeries.at(line.substr(at + 2, end - at - 2));
        at = end + 1;
        continue;
      }
      row += line[at] == ' ' ? ' ' : color;
      for (++at; at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80;) ++at;
    }
    picture.append("\n").append(TrimmedRight(row));
  }
  return picture + "\n";
}

struct GoldenCase {
  std::string name;
  bool utf8, color;
  std::string picture;
  bool logLoss = false;
};

TEST(Chart, DrawsTheGoldenPictures) {
  const std::vector<GoldenCase> cases{
      {"braille in colour", true, true, R"(
dB/100 ft         Matched loss per 100 ft
15┤
  │
  │                                                       ⡠⠊
  │                                                     ⡠⠊
10┤                                                   ⡠⠊
  │                                                ⢀⠔⠊
  │                                             ⢀⠤⠊⠁
 5┤                                         ⢀⡠⠔⠊⠁
  │                                    ⢀⣀⠤⠒⠊⠁              ⢀
  │                             ⢀⣀⡠⠤⠔⠒⠉⠁            ⢀⣀⡠⠤⠔⠒⠉⠁
  │                 ⣀⣀⣀⣀⠤⠤⠤⠔⠒⠒⠉⠉⠁       ⣀⣀⣀⣀⠤⠤⠤⠔⠒⠒⠉⠉⠁
 0┤⣤⣤⣤⣒⡲⠶⠶⠶⠶⠶⠶⠮⠭⠭⠭⠭⠭⠤⠤⠤⠤⠤⠤⠒⠒⠒⠒⠒⠒⠒⠒⠊⠉⠉⠉⠉⠉
  └────┬─────┬─────┬──┬─┬─┬─┬┬┬────┬────────┬──┬─────┬─────┬
   1  1.8   3.5    7    14  21     50      144      1000 MHz
━━ thin                        ━━ thick
)"},
      {"braille marked in monochrome", true, false, R"(
dB/100 ft         Matched loss per 100 ft
15┤
  │
  │                                                       ⡠⠊
  │                                                     ⡠⠊
10┤                                                   ⡠*
  │                                                ⢀⠔⠊
  │                                             ⢀⠤⠊⠁
 5┤                                         ⢀⡠⠔*⠁
  │                                    ⢀⣀⠤⠒⠊⠁              ⢀
  │                             ⢀⣀⡠⠤⠔⠒⠉*            ⢀⣀⡠⠤⠔⠒⠉+
  │                 ⣀⣀⣀*⠤⠤⠤⠔⠒⠒⠉*⠁       ⣀⣀⣀+⠤⠤⠤⠔⠒⠒⠉+⠁
 0┤+⣤⣤⣒*⠶⠶⠶+⠶⠶⠮*⠭⠭⠭+⠤⠤⠤⠤⠤⠤⠒+⠒⠒⠒⠒⠒⠒⠊+⠉⠉⠉⠉
  └────┬─────┬─────┬──┬─┬─┬─┬┬┬────┬────────┬──┬─────┬─────┬
   1  1.8   3.5    7    14  21     50      144      1000 MHz
─*─ thin                       ─+─ thick
)"},
      {"ASCII marks", false, false, R"(
dB/100 ft         Matched loss per 100 ft
15+
  |
  |                                                        *
  |                                                     ***
10+                                                   **
  |                                                ***
  |                                             ***
 5+                                         ****
  |                                   ******              ++
  |                           ********            ++++++++
  |         ******************  ++++++++++++++++++
 0+*+*+*+*+*++++++++++++++++++++
  +----+-----+-----+--+-+-+-+++----+--------+--+-----+-----+
   1  1.8   3.5    7    14  21     50      144      1000 MHz
* thin                         + thick
)"},
      {"ASCII on a logarithmic loss axis", false, false, R"(
dB/100 ft         Matched loss per 100 ft
100+
   |
   |
   |                                                      **
 10+                                            **********
   |                                  **********         +++
   |                       ***********         ++++++++++
  1+             **********          ++++++++++
   |   **********         +++++++++++
   |***         ++++++++++
   |  ++++++++++
0.1+++
   +----+-----+----+--+--+-++-++---+--------+--+-----+-----+
    1  1.8   3.5   7     14 21 28  50      144      1000 MHz
* thin                         + thick
)",
       true},
  };
  for (const GoldenCase& c : cases) {
    ChartSettings chart = TwoCables(c.utf8, c.color);
    chart.logValues = c.logLoss;
    EXPECT_EQ(Picture(DrawChart(chart), 60), c.picture) << c.name;
  }
}

TEST(Chart, ColoursEachSeriesAndOnlyTheSeries) {
  EXPECT_EQ(ColorPicture(DrawChart(TwoCables(true, true))), R"(
...... ..         ....... .... ... ... ..
...
  .
  .                                                       11
  .                                                     11
...                                                   11
  .                                                111
  .                                             1111
 ..                                         11111
  .                                    111111              2
  .                             11111111            22222222
  .                 1111111111111       2222222222222
 ..1212121212121212122222222222222222222
  ..........................................................
   .  ...   ...    .    ..  ..     ..      ...      .... ...
11 ....                        22 .....
)");
  EXPECT_EQ(Picture(DrawChart(TwoCables(false, true)), 60), Picture(DrawChart(TwoCables(false, false)), 60));
}

struct LossScaleCase {
  double highest;
  int maxSteps;
  std::string top;
  double step;
};

TEST(NiceLossScale, RoundsUpToSteps) {
  const std::vector<LossScaleCase> cases{
      {12.6, 5, "15", 5},
      {12.6, 9, "14", 2},
      {7, 3, "7.5", 2.5},
      {0.7, 4, "0.8", 0.2},
      {4, 4, "4", 1},
      {0, 5, "0.010", 0.002},
      {std::nan(""), 5, "0.010", 0.002},  // nothing to show still gives a scale
  };
  for (const LossScaleCase& c : cases) {
    const LossScale scale = NiceLossScale(c.highest, c.maxSteps);
    EXPECT_EQ(LossTickText(scale, scale.steps), c.top) << c.highest;
    EXPECT_DOUBLE_EQ(scale.step, c.step) << c.highest;
  }
}

TEST(PrintableText, KeepsOutputSafeForItsTarget) {
  struct Case {
    std::string text;
    TextTarget target;
    std::string printable;
  };
  const std::vector<Case> cases{
      {"\x1b[2Jcable\x07", TextTarget::kUtf8Terminal, "?[2Jcable?"},
      {"Sch\xC3\xBCtz \xE2\x80\x93 5/8\"", TextTarget::kUtf8Terminal, "Sch\xC3\xBCtz \xE2\x80\x93 5/8\""},
      {"Sch\xC3\xBCtz", TextTarget::kAsciiTerminal, "Sch?tz"},
      {"broken \xC3 \xE0\x80\x80 \x84", TextTarget::kUtf8Terminal, "broken ? ??? ?"},
      {"wide \xE6\xBC\xA2", TextTarget::kUtf8Terminal, "wide ?"},
      {"wide \xE6\xBC\xA2\x01", TextTarget::kXml, "wide \xE6\xBC\xA2?"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintableText(c.text, c.target), c.printable) << c.text;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct OddCase {
  std::string name;
  std::function<void(ChartSettings&)> change;
  std::string shows;  // in the stripped text; a whole chart unless it starts "Cannot"
};

TEST(Chart, OddInputGivesAChartOrOneLineSayingWhy) {
  const std::vector<OddCase> cases{
      {"no series", [](ChartSettings& s) { s.series.clear(); }, "1000 MHz"},
      {"losses not finite or negative",
       [](ChartSettings& s) {
         s.series = {{"inf", [](double) { return kInfinity; }}, {"-", [](double) { return -1.; }}};
       },
       "inf"},
      {"zero loss on the bottom",
       [](ChartSettings& s) {
         s.series = {{"0", [](double) { return 0.0; }}};
       },
       "0┤⣀⣀⣀"},
      {"no loss function", [](ChartSettings& s) { s.series[0].value = nullptr; }, "━━ thin"},
      {"label with terminal codes", [](ChartSettings& s) { s.series[0].label = "\x1b[2J\r\n"; }, "━━ ?[2J??"},
      {"long label cut", [](ChartSettings& s) { s.series[0].label = std::string(70, 'w'); }, "www…\n━━ thick"},
      {"nine series: the first eight",
       [](ChartSettings& s) {
         s.series.resize(8, s.series[0]), s.series.push_back({"ninth", {}});
       },
       "━━ thin"},
      {"narrow range labels its ends", [](ChartSettings& s) { s.fromMHz = 14, s.toMHz = 14.35; }, "14.35"},
      {"falling range", [](ChartSettings& s) { s.fromMHz = 1000, s.toMHz = 1; }, "Cannot plot: the frequencies"},
      {"empty range", [](ChartSettings& s) { s.toMHz = s.fromMHz; }, "Cannot plot: the frequencies"},
      {"range from 0", [](ChartSettings& s) { s.fromMHz = 0; }, "Cannot plot: the frequencies"},
      {"range to infinity", [](ChartSettings& s) { s.toMHz = kInfinity; }, "Cannot plot: the frequencies"},
      {"too narrow", [](ChartSettings& s) { s.width = 19; }, "Cannot plot in 19x16 characters: too small"},
      {"too low", [](ChartSettings& s) { s.height = -1; }, "Cannot plot in 60x-1 characters: too small"},
      {"no room for the legend", [](ChartSettings& s) { s.height = 6, s.series.resize(8, s.series[0]); },
       "Cannot plot in 60x6 characters: too small"},
      {"too big", [](ChartSettings& s) { s.width = 1 << 30; }, "Cannot plot in 1073741824x16 characters: at most"},
  };
  for (const OddCase& c : cases) {
    ChartSettings chart = TwoCables(true, true);
    c.change(chart);
    const std::vector<std::string> lines = DrawChart(chart);
    const std::string picture =
        c.shows.starts_with("Cannot") ? Picture(lines, DisplayWidth(lines.at(0))) : Picture(lines, chart.width);
    EXPECT_NE(picture.find(c.shows), std::string::npos) << c.name << picture;
    EXPECT_EQ(lines.size(), c.shows.starts_with("Cannot") ? 1u : 16u) << c.name;
    EXPECT_EQ(picture.find("ninth"), std::string::npos) << c.name;
  }
}

// The width and height from the header of a PNG file.
std::pair<int, int> PngSize(const std::filesystem::path& png) {
  std::ifstream in(png, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  const auto big = [&](int at) {
    return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
  };
  return {big(16), big(20)};
}

struct SvgCase {
  std::string name;
  std::function<void(ChartSettings&)> change;
  int pngWidth, pngHeight;
  int polylines;
  std::string shows;
};

TEST(SvgChart, RendersAtItsSizeWithAPolylinePerSeriesAndEscapedLabels) {
  const std::vector<SvgCase> cases{
      {"two cables", [](ChartSettings& s) { s.width = 80, s.height = 24; }, 800, 480, 2, ">thick</text>"},
      {"labels to escape, a small size",
       [](ChartSettings& s) { s.series[1].label = "<b> & \"it's\"\x1b", s.width = 10, s.height = 5; }, 480, 300, 2,
       ">&lt;b&gt; &amp; &quot;it&apos;s&quot;?</text>"},
      {"a gap splits a line",
       [](ChartSettings& s) {
         s.series = {{"gap", [](double f) { return f > 10 && f < 100 ? -1 : 1; }}, {"none", {}}};
       },
       600, 320, 2, ">Matched loss per 100 ft</text>"},
      {"a logarithmic loss axis", [](ChartSettings& s) { s.logValues = true; }, 600, 320, 2,
       "text-anchor=\"end\">0.1</text>"},
      {"range that cannot be drawn", [](ChartSettings& s) { s.toMHz = 0; }, 600, 320, 0,
       "Cannot plot: the frequencies"},
  };
  testing::TempFolder folder;
  for (const SvgCase& c : cases) {
    ChartSettings chart = TwoCables(true, true);
    c.change(chart);
    const std::string svg = DrawSvgChart(chart);
    const std::filesystem::path file = folder.Write("chart.svg", svg);
    const std::filesystem::path png = folder.Path() / "chart.png";
    ASSERT_EQ(std::system(("rsvg-convert " + file.string() + " -o " + png.string()).c_str()), 0) << c.name << svg;
    EXPECT_EQ(PngSize(png), std::make_pair(c.pngWidth, c.pngHeight)) << c.name;
    std::ptrdiff_t polylines = 0;
    for (std::size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1))
      ++polylines;
    EXPECT_EQ(polylines, c.polylines) << c.name;
    EXPECT_NE(svg.find(c.shows), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace ferrolux::chart
