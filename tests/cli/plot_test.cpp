#include "cli/plot.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <utility>

#include "cli/command_error.hpp"
#include "cli/plot_quantity.hpp"
#include "model/connector_loss.hpp"
#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

PlotOptions Plot(std::vector<std::string> cables, const std::string& type = "", const std::string& length = "",
                 bool metric = false) {
  PlotOptions options;
  options.cables = std::move(cables);
  options.type = type, options.length = length, options.metric = metric;
  return options;
}

TEST(BuildChart, OneSeriesPerCableInItsUnit) {
  const std::vector<CatalogRow> cables = TestCables();
  struct Case {
    PlotOptions options;
    std::string unit, title;
    double lossAt100MHz;  // of the first series; the worked example's cable gives 2.6 dB per 100 ft
    size_t series;
  };
  const Case cases[] = {
      {Plot({"Test RG-8X"}), "dB/100 ft", "Matched loss per 100 ft", 2.6, 1},
      {Plot({"Test RG-8X"}, "", "", true), "dB/100 m", "Matched loss per 100 m", 2.6 / 0.3048, 1},
      {Plot({"Test RG-8X"}, "", "50"), "dB", "Matched loss of 50 ft", 1.3, 1},
      {Plot({"Test RG-8X"}, "", "30.48m"), "dB", "Matched loss of 30.48 m", 2.6, 1},
      {Plot({"Test RG-8X"}, "", "30.48", true), "dB", "Matched loss of 30.48 m", 2.6, 1},
      {Plot({"Test RG-8X", "lmr"}, "rg-8x"), "dB/100 ft", "Matched loss per 100 ft", 2.6,
       2},  // the type adds nothing new
  };
  for (const Case& c : cases) {
    const chart::ChartSettings chart = BuildChart(cables, c.options, {});
    EXPECT_EQ(chart.unit, c.unit);
    EXPECT_EQ(chart.title, c.title);
    ASSERT_EQ(chart.series.size(), c.series);
    EXPECT_EQ(chart.series[0].label, "RG-8X, Test RG-8X");
    EXPECT_NEAR(chart.series[0].value(100), c.lossAt100MHz, 1e-12) << c.unit;
  }
}

// A path draws its matched loss twice: with its connectors and lumped losses, and of its cables alone.
TEST(BuildChart, APathDrawsItsLossWithAndWithoutTheConnectors) {
  PlotOptions options;
  options.path = "Test RG-8X:100ft, N, 0.5dB, Test LMR-400:50ft";
  const chart::ChartSettings chart = BuildChart(TestCables(), options, {});
  EXPECT_EQ(chart.title, "Matched loss of the path RG-8X 100 ft, N, .5 dB, LMR-400 50 ft");
  EXPECT_EQ(chart.unit, "dB");
  ASSERT_EQ(chart.series.size(), 2U);
  EXPECT_EQ(chart.series[0].label, "with the connectors");
  EXPECT_EQ(chart.series[1].label, "cables only");
  const double cables = 2.6 + BuildChart(TestCables(), Plot({"Test LMR-400"}, "", "50"), {}).series[0].value(100);
  EXPECT_NEAR(chart.series[1].value(100), cables, 1e-12);
  EXPECT_NEAR(chart.series[0].value(100), cables + ConnectorLossDb(ConnectorFamily::kN, 100) + 0.5, 1e-12);
}

TEST(BuildChart, SizedToTheTerminalOrAsAsked) {
  const std::vector<CatalogRow> cables = TestCables();
  OutputStyle terminal;
  terminal.terminal = true;
  terminal.columns = 132, terminal.rows = 50;
  OutputStyle small = terminal;
  small.columns = 90, small.rows = 20;
  struct Case {
    OutputStyle style;
    int width, height;  // asked for; 0 when not
    int chartWidth, chartHeight;
  };
  const Case cases[] = {{{}, 0, 0, 80, 24},
                        {{}, 100, 30, 100, 30},
                        {terminal, 0, 0, 132, 24},
                        {small, 0, 0, 90, 19},
                        {terminal, 60, 0, 60, 24}};
  for (const Case& c : cases) {
    PlotOptions options = Plot({"lmr"});
    options.width = c.width, options.height = c.height;
    const chart::ChartSettings chart = BuildChart(cables, options, c.style);
    EXPECT_EQ(chart.width, c.chartWidth);
    EXPECT_EQ(chart.height, c.chartHeight);
  }
}

TEST(BuildChart, ATerminalWiderThanTheLargestChartNoLongerRefusesToPlot) {
  OutputStyle wide;
  wide.terminal = true;
  wide.columns = chart::kChartLargest + 1, wide.rows = chart::kChartLargest + 1;
  const chart::ChartSettings drawn = BuildChart(TestCables(), Plot({"lmr"}), wide);
  EXPECT_EQ(drawn.width, chart::kChartLargest);
  EXPECT_EQ(chart::DrawChart(drawn).size(), 24u);
}

TEST(BuildChart, RefusesWhatItCannotDraw) {
  std::vector<CatalogRow> cables = TestCables();
  // Appended rather than a literal plus a temporary: GCC 12 warns falsely on that in armhf Release.
  for (int i = 1; i <= 8; ++i) cables.push_back(Cable(((std::string("RG-58\tPart ") += std::to_string(i)) += "\t50")));
  struct Case {
    PlotOptions options;
    const char* message;
  };
  PlotOptions backwards = Plot({"lmr"});
  backwards.fromMHz = "100", backwards.toMHz = "10";
  PlotOptions narrow = Plot({"lmr"});
  narrow.width = 20;
  PlotOptions noVf = Plot({"Part 1"});
  noVf.show = "vf";
  PlotOptions z0OfALength = Plot({"lmr"}, "", "100");
  z0OfALength.show = "z0";
  PlotOptions z0OfAPath;
  z0OfAPath.path = "Test RG-8X:6ft, N";
  z0OfAPath.show = "z0";
  const Case cases[] = {
      {Plot({"lmr"}, "rg-58"), "plot draws up to 8 cables; these options give 9"},
      {Plot({}, "rg-59"), "--type \"rg-59\": no cable of that type; did you mean:"},
      {Plot({}), "name a cable with --cable or a type with --type"},
      {backwards, "--from must be below --to"},
      {narrow, "--width: the chart needs at least 40 columns"},
      {noVf, "--show: the catalog gives no velocity factor for RG-58, Part 1"},
      {z0OfALength, "--length: only the loss depends on the length; leave it out with --show z0"},
      {z0OfAPath,
       "--show z0: a path has no one Z0 or velocity factor (each cable has its own); with --path only the loss is "
       "drawn"},
  };
  for (const Case& c : cases) {
    try {
      BuildChart(cables, c.options, {});
      ADD_FAILURE() << c.message;
    } catch (const CommandError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

// Z0 leans capacitive and the wave slows where the loss's resistance is large beside the line's
// reactance, at the low end; both come to the catalog's 50 Ohms and .78 as the frequency rises.
TEST(BuildChart, DrawsZ0AndTheVelocityFactorOfTheLineModel) {
  struct Case {
    std::string show, picture;
  };
  const Case cases[] = {
      {"z0-angle", R"(
degrees                 Angle of Z0
  0+                     ***********************************
   |             ********
   |         ****
   |      ***
-20+    **
   |  **
   |**
   |
   |
-40+
   +-+-------+-------+---+---+--+-+++++--+------+-+----+---+
   0.1     0.472    1.8 3.5  7    14  28 50    144  1000 MHz
* RG-8X, Test RG-8X
)"},
      {"vf", R"(
VF                    Velocity factor
0.8+
   |            ********************************************
   |       *****
0.7+    ***
   |   *
   | **
0.6+*
   |
   |
0.5+
   +-+-------+-------+---+---+--+-+++++--+------+-+----+---+
   0.1     0.472    1.8 3.5  7    14  28 50    144  1000 MHz
* RG-8X, Test RG-8X
)"},
  };
  for (const Case& c : cases) {
    PlotOptions options = Plot({"Test RG-8X"});
    options.show = c.show, options.fromMHz = "0.1", options.width = 60, options.height = 14;
    std::string picture = "\n";
    for (std::string line : chart::DrawChart(BuildChart(TestCables(), options, {})))
      picture += line.erase(line.find_last_not_of(' ') + 1) + "\n";
    EXPECT_EQ(picture, c.picture) << c.show;
  }
}

// The figures drawn against make_sweeps.py's own working of the same line, one row a frequency.
TEST(QuantityCurve, MatchesTheSweepsIndependentlyWorkedLine) {
  constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
  const std::pair<const char*, CatalogRow> cables[] = {
      {"rg174", Cable("RG-174/U\tBelden 8216\t50\t0.66\t\t\t\t\t\t\t\t1.33367\t0.554943\t0.0152789")},
      {"rg6", Cable("RG-6/U\tBelden 1694A\t75\t0.82\t\t\t\t\t\t\t\t0.0566013\t0.194238\t0")}};
  for (const auto& [name, cable] : cables) {
    const auto magnitude = QuantityCurve(PlotQuantity::kZ0, cable);
    const auto angle = QuantityCurve(PlotQuantity::kZ0Angle, cable);
    const auto vf = QuantityCurve(PlotQuantity::kVelocityFactor, cable);
    std::ifstream truth(std::filesystem::path(FERROLUX_TEST_DATA_DIR) / "cable-sweeps" /
                        (std::string(name) + "-truth.csv"));
    std::string row;
    std::getline(truth, row);  // the header
    int rows = 0;
    for (double mhz, re, im, loss, factor; truth >> mhz;) {
      char comma;
      truth >> comma >> re >> comma >> im >> comma >> loss >> comma >> factor;
      const std::complex<double> z0(re, im);
      EXPECT_NEAR(magnitude(mhz), std::abs(z0), 1e-4) << name << " at " << mhz;
      EXPECT_NEAR(angle(mhz), std::arg(z0) * kDegreesPerRadian, 1e-3) << name << " at " << mhz;
      EXPECT_NEAR(vf(mhz), factor, 2e-6) << name << " at " << mhz;
      ++rows;
    }
    EXPECT_GT(rows, 100) << name;
  }
}

}  // namespace
}  // namespace ferrolux::cli
