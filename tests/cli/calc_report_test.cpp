#include "cli/calc_report.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/exact_input.hpp"
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
            "Exact line, Z0 = 50.14-j.17 Ohms at 100 MHz:\n"
            "Over every load phase that reads 1.1:1 against 50 Ohms at the shack:\n"
            "      Match Loss: 1.3 dB\n"
            "      Total Loss: 1.31 dB\n"
            "        Ant. SWR: 1.13 to 1.14:1\n"
            "       Power Out: 73.97 to 74.01 watts\n"
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
            "Exact line, Z0 = 50.9-j1.33 Ohms at 14 MHz:\n"
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
  EXPECT_EQ(figures["extrapolated"], false);  // of a cable of one's own no published points are known
  const CatalogRow rg58 = Cable("RG-58A/U\tBelden 8259\t50\t0.66\t\t\t\t\t\t\t\t0\t0.425585\t0.00964155");
  EXPECT_EQ(Json(rg58, At("50", "1.1", "1000"))["extrapolated"], false);
  EXPECT_EQ(Json(rg58, At("50", "1.1", "2400"))["extrapolated"], true);
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

// RG-58A and RG-6 as the shipped catalog has them.
const CatalogRow kRg58a = Cable("RG-58A/U\tBelden 8259\t50\t0.66\t\t\t\t\t\t\t\t0\t0.425585\t0.00964155");
const CatalogRow kRg6 = Cable("RG-6/U\tBelden 1694A\t75\t0.82\t\t\t\t\t\t\t\t0.0566013\t0.194238\t0");

struct Written {
  std::string text, csv;
  nlohmann::json json;
};

Written WithImpedance(const CatalogRow& row, const Settings& at, const ExactTexts& exact) {
  const CatalogCable cable = ReadCatalogCable(row);
  Settings settings = at;
  const Calculation c = Calculate(cable, settings, ReadExactRequest(exact));
  settings.shackSwr = c.shackSwr;
  std::ostringstream text, csv, json;
  WriteCalcText(text, row, settings, c, kPipe);
  WriteCalcCsv(csv, row, settings, c);
  WriteCalcJson(json, row, settings, c);
  return {text.str(), csv.str(), nlohmann::json::parse(json.str())};
}

std::string CsvCell(const std::string& csv, const std::string& key) {
  std::istringstream lines(csv);
  std::string head, values;
  std::getline(lines, head);
  std::getline(lines, values);
  std::istringstream keys(head), cells(values);
  std::string k, cell;
  while (std::getline(keys, k, ',') && std::getline(cells, cell, ','))
    if (k == key) return cell;
  return "?";
}

// The 75 ohm line loaded with 75 ohms read against a 50 ohm meter: the real-Z0 equations cannot
// convert that reading, yet the line column showed 0.08 dB lost to an SWR of 1.63.
TEST(CalcText, LineColumnIgnoredTheMetersReference) {
  const Written w = WithImpedance(kRg6, At("100", "1", "14"), {"75", "", "50", ""});
  EXPECT_NE(w.text.find(" Loss due to SWR: .12 dB               -\n"), std::string::npos) << w.text;
  EXPECT_NE(w.text.find("        Real SWR: 1.81:1 +-            -\n"), std::string::npos) << w.text;
  EXPECT_NE(w.text.find("against 50 Ohms they do not apply"), std::string::npos) << w.text;
  EXPECT_TRUE(w.json["line"].is_null());
  EXPECT_EQ(w.json["line_verdict"], "other_reference");
  EXPECT_EQ(CsvCell(w.csv, "line_total_loss_db"), "");
  EXPECT_EQ(CsvCell(w.csv, "line_possible"), "");
}

// 1+j150 at the end of 100 ft of RG-58A on top band reads 17.32:1, above what the real-Z0
// equations allow (14.79:1): the exact block computes that reading from the very load typed, so
// the meter is not to blame. Only a typed SWR that no passive load gives sends the user to it.
TEST(CalcText, CheckTheMeterBesideThePassiveLoadThatGivesTheReading) {
  const Written load = WithImpedance(kRg58a, At("100", "1", "1.8"), {"1+j150", "", "", ""});
  EXPECT_EQ(load.text.find("Check the SWR meter"), std::string::npos) << load.text;
  EXPECT_NE(load.text.find("Line equations: their real-Z0 model of this line cannot represent 17.32:1 in the shack\n"
                           "(with .59 dB of matched loss it shows at most 14.79:1); the exact line below works from "
                           "the impedance itself.\n"),
            std::string::npos)
      << load.text;
  EXPECT_EQ(load.json["line_verdict"], "not_representable");
  EXPECT_NE(Text(kRg58a, At("100", "100", "1.8")).find("Check the SWR meter"), std::string::npos);
}

// An SWR worked out from an impedance was shown to seven digits (18.76103:1) beside SWRs
// rounded to two; a typed one is shown as typed.
TEST(CalcText, ComputedSwrPrintedToSixDigits) {
  const Written load = WithImpedance(kRg58a, At("100", "1", "1.8"), {"1+j150", "", "", ""});
  EXPECT_NE(load.text.find("    Apparent swr: 17.32:1              17.32:1\n"), std::string::npos) << load.text;
  EXPECT_NE(load.text.find("SWR above 6:1 (17.32:1)"), std::string::npos) << load.text;
  EXPECT_NE(Text(kRg58a, At("100", "1.234567", "1.8")).find("Apparent swr: 1.234567:1"), std::string::npos);
}

}  // namespace
}  // namespace ferrolux::cli
