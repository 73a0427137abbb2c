#include "cli/exact_report.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/calc_report.hpp"
#include "cli/command_error.hpp"
#include "cli/exact_input.hpp"
#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

TEST(ReadImpedance, TheFormsAnAnalyserShowsAndNothingElse) {
  struct Case {
    const char* text;
    double r, x;
  };
  for (const Case& c : {Case{"50", 50, 0}, Case{"35-j20", 35, -20}, Case{"100+100j", 100, 100},
                        Case{"12.5-3.2j", 12.5, -3.2}, Case{"0+j30", 0, 30}, Case{".5+j.25", 0.5, 0.25}}) {
    EXPECT_EQ(ReadImpedance("--antenna-z", c.text), Complex(c.r, c.x)) << c.text;
  }
  for (const char* bad : {"", "j20", "35-20", "35-j", "35-j20j", "35+-j2", "35 j20", "3 5-j2", "35-j 20", "ohm"}) {
    EXPECT_THROW(ReadImpedance("--antenna-z", bad), CommandError) << bad;
  }
}

// Copied from a web page, a PDF or an analyser's manual, each is 38-j22.
TEST(ReadImpedance, ImpedancesAsHamsWriteThemWereRefused) {
  for (const char* text : {"38 -j22", "38 - j22", "38-J22", "38\u2212j22", "38-i22", "(38-22j)", "38-j22 ohm",
                           "38-j22\u03A9", "38-j22 Ohms", " ( 38 - 22J ) \u2126"}) {
    EXPECT_EQ(ReadImpedance("--antenna-z", text), Complex(38, -22)) << text;
  }
}

TEST(ReadImpedance, AnImpedanceNotUnderstoodWasNotQuotedAndCarriedControls) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"38-k22", "--antenna-z: \"-k22\" in \"38-k22\" is not understood"},
      {"abc", "--antenna-z: \"abc\" is not understood"},
      {"50 \x1b[2J", "--antenna-z: \"\uFFFD[2J\" in \"50 \uFFFD[2J\" is not understood"},
  };
  for (const Case& c : cases) {
    try {
      ReadImpedance("--antenna-z", c.text);
      ADD_FAILURE() << c.text;
    } catch (const CommandError& error) {
      EXPECT_EQ(std::string(error.what()).substr(0, std::string(c.message).size()), c.message);
    }
  }
}

nlohmann::json Exact(const ExactTexts& texts, const std::string& swr = "1") {
  const CatalogCable cable = ReadCatalogCable(TestCables()[0]);
  const Settings settings = ReadSettings({"100", "100", swr, "", "1.8", false});
  std::ostringstream out;
  WriteCalcJson(out, cable.texts, settings, Calculate(cable, settings, ReadExactRequest(texts)));
  return nlohmann::json::parse(out.str())["exact"];
}

// The shack reading of a load carried back gives the load; a reading only an active load could
// give has no figures; the meter's reference and a measured VF are taken.
TEST(CalcJson, ExactFiguresFromAnImpedanceAtEitherEnd) {
  const nlohmann::json antenna = Exact({"35-j20", "", "", ""});
  ASSERT_TRUE(antenna["passive"].get<bool>());
  const nlohmann::json shack = Exact({"",
                                      std::to_string(antenna["shack_z"]["re"].get<double>()) + "+j" +
                                          std::to_string(antenna["shack_z"]["im"].get<double>()),
                                      "", ""});
  EXPECT_NEAR(shack["antenna_z"]["re"].get<double>(), 35, 1e-4);
  EXPECT_NEAR(shack["antenna_z"]["im"].get<double>(), -20, 1e-4);
  EXPECT_NEAR(shack["total_loss_db"].get<double>(), antenna["total_loss_db"].get<double>(), 1e-5);
  EXPECT_EQ(
      Exact({"", "-5+j20", "", ""}),
      (nlohmann::json{{"z0", antenna["z0"]}, {"reference_ohms", 50.0}, {"velocity_factor", 0.78}, {"passive", false}}));
  const nlohmann::json other = Exact({"", "", "75", "0.66"}, "2");
  EXPECT_EQ(other["reference_ohms"], 75.0);
  EXPECT_EQ(other["velocity_factor"], 0.66);
  EXPECT_EQ(other["range"]["passive_share"], 1.0);
}

}  // namespace
}  // namespace ferrolux::cli
