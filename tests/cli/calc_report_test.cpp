#include "cli/calc_report.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

const OutputStyle kPipe{};

Settings At(const std::string& length, const std::string& swr, const std::string& mhz, bool metric = false) {
  return ReadSettings({length, "100", swr, "", mhz, metric});
}

std::string Text(const CatalogRow& cable, const Settings& settings) {
  std::ostringstream out;
  WriteCalcText(out, cable, settings, Calculate(ReadCatalogCable(cable), settings), kPipe);
  return out.str();
}

nlohmann::json Json(const CatalogRow& cable, const Settings& settings) {
  std::ostringstream out;
  WriteCalcJson(out, cable, settings, Calculate(ReadCatalogCable(cable), settings));
  return nlohmann::json::parse(out.str());
}

// The worked example of the loss model: the estimate column holds the results screen's value
// texts (100, 2.6, 1.3 @ 50, 0, 1.3, 100, 74.06, 25.94, 1.1, 1.1). On the line side a = 1.348963,
// |Γs| = 0.1 / 2.1, |Γa| = 0.064236, so the antenna sees 1.064236 / 0.935764 = 1.14:1.
TEST(CalcText, TheResultsScreensFiguresBesideTheLineEquations) {
  EXPECT_EQ(Text(TestCables()[0], At("50", "1.1", "100")),
            "      Cable Type: RG-8X, Test RG-8X\n"
            "       Impedance: 50 Ohms     VF: .78\n"
            "\n"
            "                  Estimate           Line equations\n"
            "       Frequency: 100 MHz            100 MHz\n"
            " STD. Match Loss: 2.6 dB 100 ft.     2.6 dB 100 ft.\n"
            "      Match Loss: 1.3 dB @ 50 ft.    1.3 dB @ 50 ft.\n"
            " Loss due to SWR: 0 dB               .01 dB\n"
            "      Total Loss: 1.3 dB             1.31 dB\n"
            "        Power In: 100 watts          100 watts\n"
            "       Power Out: 74.06 watts        73.99 watts\n"
            "      Power Loss: 25.94%             26.01%\n"
            "    Apparent swr: 1.1:1              1.1:1\n"
            "        Real SWR: 1.1:1 +-           1.14:1\n"
            " Ret. Loss Shack:                    26.44 dB\n"
            "  Ret. Loss Ant.:                    23.84 dB\n"
            "\n"
            "Line equations: a real characteristic impedance is assumed; good for ordinary coax above a few MHz, "
            "approximate at HF on thin, lossy cable.\n"
            "\n"
            "Exact line, Z0 = 50-j.17 Ohms at 100 MHz:\n"
            "Over every load phase that reads 1.1:1 against 50 Ohms at the shack:\n"
            "      Match Loss: 1.3 dB\n"
            "      Total Loss: 1.31 dB\n"
            "        Ant. SWR: 1.14:1\n"
            "       Power Out: 73.99 to 74 watts\n"
            "Exact line: the line model from the catalog's loss and velocity factor; connectors and the meter's own "
            "error are not counted.\n");
}

// 100 ft of the lossy cable at 14 MHz has 3.568 dB of matched loss: a = 2.274, so the shack can
// see at most 3.274 / 1.274 = 2.57:1, and the screen's estimate for 5.5:1 is far above 20:1.
TEST(CalcText, TheScreensWarningAndAReadingNoLoadCanGive) {
  const CatalogRow lossy = TestCables()[2];
  EXPECT_EQ(Text(lossy, At("100", "5.5", "14")),
            "      Cable Type: RG-174, Test RG-174 long name for cutting\n"
            "       Impedance: 50 Ohms     VF: .66\n"
            "\n"
            "                  Estimate              Line equations\n"
            "       Frequency: 14 MHz                14 MHz\n"
            " STD. Match Loss: 3.568 dB 100 ft.      3.568 dB 100 ft.\n"
            "      Match Loss: 3.568 dB @ 100 ft.    3.568 dB @ 100 ft.\n"
            " Loss due to SWR: -                     -\n"
            "      Total Loss: -                     -\n"
            "        Power In: 100 watts             100 watts\n"
            "       Power Out: -                     -\n"
            "      Power Loss: -                     -\n"
            "    Apparent swr: 5.5:1                 5.5:1\n"
            "        Real SWR: -                     -\n"
            " Ret. Loss Shack:                       -\n"
            "  Ret. Loss Ant.:                       -\n"
            "\n"
            "Real SWR is estimated at >20:1 (400:1)\n"
            "The SWR specific calculations are not reliable when SWR is\n"
            "that high. Note that at a 20:1 SWR you lose over 90% of any\n"
            "incomming signal and likewise on your outgoing power. A 100\n"
            "watts out results in less than 2 watts at the antenna.\n"
            "\n"
            "Line equations: no load at the antenna can make this line show 5.5:1 in the shack.\n"
            "With 3.57 dB of matched loss it shows at most 2.57:1, even with the far end open or shorted.\n"
            "Check the SWR meter and how it is connected, the cable (its length, type and condition)\n"
            "and the cable's catalog data.\n"
            "\n"
            "Line equations: a real characteristic impedance is assumed; good for ordinary coax above a few MHz, "
            "approximate at HF on thin, lossy cable.\n"
            "\n"
            "Exact line, Z0 = 50.02-j1.34 Ohms at 14 MHz:\n"
            "No passive load gives 5.5:1 against 50 Ohms at the shack at this frequency.\n"
            "Exact line: the line model from the catalog's loss and velocity factor; connectors and the meter's own "
            "error are not counted.\n");
  EXPECT_NE(Text(lossy, At("10", "6.5", "146"))
                .find("\nReal SWR cannot be estimated for a measured SWR above 6:1 (6.5:1).\n"
                      "The loss figures would not be reliable, so none are shown. Measure the SWR\n"
                      "at the antenna, or bring the SWR in the shack down to 6:1 or less.\n"),
            std::string::npos);
}

TEST(CalcJson, NumbersAsNumbersAndImpossibleInsteadOfLine) {
  const nlohmann::json figures = Json(TestCables()[0], At("50", "1.1", "100"));
  EXPECT_EQ(figures["inputs"]["cable"]["k0"], 0.5);
  EXPECT_EQ(figures["inputs"]["cable"]["diameter"], "0.242 in");
  EXPECT_EQ(figures["estimate"]["shown"], "figures");
  EXPECT_EQ(figures["estimate"]["power_out_w"], 74.05521);  // the stored float, not its double expansion
  EXPECT_NEAR(figures["line"]["antenna_swr"].get<double>(), 1.137292, 1e-6);
  EXPECT_TRUE(figures["line"]["highest_shack_swr"].is_number());
  EXPECT_FALSE(figures.contains("impossible"));
  const nlohmann::json metric = Json(TestCables()[0], At("50", "1.1", "100", true));
  EXPECT_DOUBLE_EQ(metric["line"]["matched_loss_db_per_100m"].get<double>(),
                   metric["line"]["matched_loss_db_per_100ft"].get<double>() / kMetresPerFoot);

  const nlohmann::json impossible = Json(TestCables()[2], At("100", "5.5", "14"));
  EXPECT_EQ(impossible["estimate"]["shown"], "high_swr_warning");
  EXPECT_FALSE(impossible["estimate"].contains("total_loss_db"));
  EXPECT_FALSE(impossible.contains("line"));
  EXPECT_NEAR(impossible["impossible"]["highest_shack_swr"].get<double>(), 2.5699, 1e-4);
}

// 15.24 m is 50 ft exactly: the same line, written in metres and per 100 m.
TEST(CalcText, MetresAndFeetDescribeTheSameLine) {
  const CatalogRow cable = TestCables()[0];
  const Calculation feet = Calculate(ReadCatalogCable(cable), At("50", "1.5", "100"));
  for (const Settings& metric : {At("15.24m", "1.5", "100"), At("15.24", "1.5", "100", true)}) {
    const Calculation metres = Calculate(ReadCatalogCable(cable), metric);
    EXPECT_NEAR(metres.line.figures->totalLossDb, feet.line.figures->totalLossDb, 1e-12);
    EXPECT_EQ(metres.estimate.totalLoss, feet.estimate.totalLoss);
  }
  const std::string text = Text(cable, At("15.24", "1.5", "100", true));
  EXPECT_NE(text.find(" STD. Match Loss: 8.53 dB 100 m.       8.53 dB 100 m."), std::string::npos) << text;
  EXPECT_NE(text.find("      Match Loss: 1.3 dB @ 15.24 m.    1.3 dB @ 15.24 m."), std::string::npos) << text;
}

}  // namespace
}  // namespace ferrolux::cli
