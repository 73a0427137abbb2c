#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalog/voltage_rating.hpp"
#include "cli/commands.hpp"
#include "cli/path_element_fields.hpp"

namespace ferrolux::cli {
namespace {

namespace fs = std::filesystem;

struct CalcRun {
  std::optional<int> status;
  std::string out, err;
};

CalcRun RunCalc(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "calc");
  CLI::App app("", "ferrolux");
  CommandContext context;
  std::ostringstream out, err;
  context.catalogFile = [] { return fs::path(FERROLUX_TEST_DATA_DIR) / "../../data/CableCatalog.txt"; };
  context.outputStyle = [] { return OutputStyle{}; };
  context.out = &out;
  context.err = &err;
  AddCommands(app, context);
  try {
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return {ReportParseError(app, error, out, err), out.str(), err.str()};
  }
  const std::optional<int> status = RunChosenCommand(context);
  return {status, out.str(), err.str()};
}

const std::vector<std::string> k20m = {"--band", "20m", "--power", "1500"};

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(CalcPath, TextShowsEveryJointAndWarnsOfTheVoltageAboveARating) {
  const CalcRun run =
      RunCalc(With(k20m, {"--path", "RG-8X:6ft, PL-259, arrestor, RG-316:10ft, 0.2dB", "--antenna-z", "500"}));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Path of 5 elements at 14.175 MHz (20m band), 1500 watts, against 50 Ohms:\n"
            "Element                       Kind       Loss dB  Loss W  Power in W    Z in, Ohms  SWR in\n"
            "RG-8X, Belden 9258, 6ft       cable          .36  118.86        1500  10.65+j21.35  5.58:1\n"
            "UHF                           connector      .03    9.88     1381.14   8.83-j12.89  6.05:1\n"
            "arrestor                      connector      .16   49.27     1371.27   8.77-j12.89  6.09:1\n"
            "RG-316/U, Belden 84316, 10ft  cable          .97  265.54        1322   8.48-j12.92   6.3:1\n"
            ".2 dB                         lumped         .91  200.13     1056.46     407.37+j0  8.15:1\n"
            "Antenna                                                       856.33        500+j0    10:1\n"
            "\n"
            "      Total Loss: 2.43 dB\n"
            "       Power Out: 856.33 watts\n"
            "\n"
            "Along each cable, at the power fed in (the standing wave's highest, RMS):\n"
            "Cable                         Volts    Amps  Rating\n"
            "RG-8X, Belden 9258, 6ft       283.1  12.916  300 V\n"
            "RG-316/U, Belden 84316, 10ft    656  12.489  900 V\n"
            "Warning: up to 283 V RMS (400 V peak) along RG-8X, Belden 9258, 6ft, above its rating of 300 V, taken as "
            "a peak, as a DC or unqualified rating is what the insulation stands at every instant.\n"
            "Warning: up to 656 V RMS (928 V peak) along RG-316/U, Belden 84316, 10ft, above its rating of 900 V, "
            "taken as a peak, as a DC or unqualified rating is what the insulation stands at every instant.\n"
            "\n"
            "Line equations: they handle only a one-cable path; the figures here are the exact model's, element by "
            "element.\n");
}

// With the SWR alone the voltage along each cable is the worst over every load phase, warned of
// against the rating as for a known load; RG-8X's is √(1500 W · 50 Ω · 3) on its own.
TEST(CalcPath, SwrAloneGivesEachCablesWorstVoltageOverEveryLoadPhase) {
  const std::vector<std::string> path = With(k20m, {"--path", "RG-8X:6ft, PL-259, RG-316:10ft", "--swr", "3"});
  const CalcRun text = RunCalc(path);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Along each cable, at the power fed in, at worst over every load phase (the standing "
                          "wave's highest, RMS):\n"
                          "Cable                         Volts   Amps  Rating\n"
                          "RG-8X, Belden 9258, 6ft       474.3  9.487  300 V\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("Warning: up to 474 V RMS (671 V peak) along RG-8X"), std::string::npos) << text.out;
  const CalcRun json = RunCalc(With(path, {"--format", "json"}));
  const nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["highest_at_worst_load_phase"], true);
  EXPECT_NEAR(j["path"][0]["highest_volts_rms"].get<double>(), std::sqrt(1500 * 50 * 3.0), 0.5);
  EXPECT_EQ(j["path"][0]["rating_exceeded"], true);
}

TEST(CalcPath, JsonHasARecordPerElementAndNoInfiniteFigureIntoAReactiveLoad) {
  const CalcRun run =
      RunCalc(With(k20m, {"--path", "Times LMR-400:100ft, N, 1dB", "--antenna-z", "0-j50", "--format", "json"}));
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  ASSERT_EQ(j["path"].size(), 3U);
  const nlohmann::json& cable = j["path"][0];
  EXPECT_EQ(cable["element"], "LMR-400, Times LMR-400, 100ft");
  EXPECT_EQ(cable["kind"], "cable");
  EXPECT_NEAR(cable["power_in_w"].get<double>(), 1500, 1e-9);
  EXPECT_NEAR(cable["highest_volts_rms"].get<double>(), 652.9, 0.1);
  EXPECT_EQ(cable["rating"], "2500 Vdc");
  EXPECT_EQ(cable["rating_exceeded"], false);
  EXPECT_EQ(j["path"][1]["kind"], "connector");
  EXPECT_TRUE(j["path"][2]["loss_db"].is_null());
  EXPECT_EQ(j["path"][2]["loss_all"], true);
  EXPECT_EQ(j["all_lost"], true);
  EXPECT_TRUE(j["total_loss_db"].is_null());
  EXPECT_EQ(j["line_verdict"], "one_cable_only");
}

TEST(CalcPath, JsonLackedTheExtrapolatedField) {
  const struct {
    const char* mhz;
    bool extrapolated;
  } cases[] = {{"14.2", true}, {"146", false}};
  for (const auto& c : cases) {
    const CalcRun run =
        RunCalc({"--path", "Times LMR-400:100ft, N", "--mhz", c.mhz, "--antenna-z", "50", "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["extrapolated"], c.extrapolated) << c.mhz;
    EXPECT_EQ(j["path"][0]["extrapolated"], c.extrapolated) << c.mhz;
    EXPECT_TRUE(j["path"][1]["extrapolated"].is_null()) << c.mhz;
  }
}

// A shack reading no passive load gives was blamed on the load "giving power back", its antenna SWR
// shown "infinite"; and beyond ~130 dB of loss the shack row showed 35.31+j10.37 for the 20+j5 given.
TEST(CalcPath, ShackReadingOfNoPassiveLoadWasMisreportedAndRewritten) {
  for (const char* cable : {"Belden 8259:30m, N", "Belden 8259:400m, N"}) {
    const CalcRun run = RunCalc({"--path", cable, "--mhz", "440", "--shack-z", "20+j5"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  20+j5  2.53:1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nNo passive load at the antenna gives this reading at the shack: check the length, the "
                           "cable and the calibration.\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("power back"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("infinite"), std::string::npos) << run.out;
    const CalcRun json = RunCalc({"--path", cable, "--mhz", "440", "--shack-z", "20+j5", "--format", "json"});
    const nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["antenna"]["passive"], false);
    EXPECT_EQ(j["path"][0]["z_in"]["re"], 20) << json.out;
  }
}

TEST(CalcPath, HeadingSaidOneElementsInThePlural) {
  const CalcRun run = RunCalc({"--path", "N", "--mhz", "14", "--antenna-z", "50"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("Path of 1 element at 14 MHz, ")) << run.out;
}

// A path of one cable is --cable and --length (and its own VF --vf), in every format.
TEST(CalcPath, OneCablePathEqualsCableAndLength) {
  for (const char* format : {"text", "csv", "json"}) {
    for (const auto& [path, length, vf] :
         {std::tuple{"RG-8X:100ft", "100ft", ""}, {"Belden 9258 : 30 m@0.8", "30m", "0.8"}}) {
      std::vector<std::string> cable =
          With(k20m, {"--cable", "Belden 9258", "--length", length, "--swr", "2", "--format", format});
      if (*vf) cable = With(cable, {"--vf", vf});
      const CalcRun byPath = RunCalc(With(k20m, {"--path", path, "--swr", "2", "--format", format}));
      const CalcRun byCable = RunCalc(cable);
      ASSERT_EQ(byPath.status, 0) << byPath.err;
      EXPECT_EQ(byPath.out, byCable.out) << path << " " << format;
    }
  }
}

TEST(CalcPath, BadPathsAreUsageErrorsNamingTheElement) {
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{"--path", "RG-8X:6ft, lmr-400:50ft"},
       "ferrolux: --path: element 2, \"lmr-400:50ft\": the name matches 2 cables; give a part number:\n"
       "  LMR-400, Times LMR-400\n"
       "  LMR-400, Times LMR-400-UF\n"},
      {{"--path", "RG-8X:6ft, PL-260\x1b[2J"}, "ferrolux: --path: element 2, \"PL-260"},
      {{"--path", "RG-8X:6ft, N", "--cable", "9913"}, "ferrolux: --cable excludes --path\n"},
      {{"--path", "RG-8X:6ft, N", "--length", "6"}, "ferrolux: --length excludes --path\n"},
      {{"--path", "RG-8X:6ft, N", "--vf", "0.7"},
       "ferrolux: --vf does not go with --path: give a cable's own after an @ (RG-8X:6ft@0.78)\n"},
      {{}, "ferrolux: give --cable and --length, or --path\n"},
  };
  for (const auto& c : cases) {
    const CalcRun run = RunCalc(With({"--band", "20m"}, c.arguments));
    EXPECT_EQ(run.status, 2) << c.err;
    EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
  }
}

// A velocity factor of 1e-300 or a length of 1e300 m reached the model (nan, or .02 W at the
// shack), and the one cable's length was blamed on --length.
TEST(CalcPath, HugeLengthsAndTinyVelocityFactorsReachedTheModel) {
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{"--path", "Belden 8259:1e300m"},
       "ferrolux: --path: element 1, \"Belden 8259:1e300m\": a cable's length is a number above 0"},
      {{"--path", "1e308dB,1e308dB"}, "ferrolux: --path: element 1, \"1e308dB\": a lumped loss is a number of dB"},
      {{"--path", "Belden 9258:10ft@1e-300,N"},
       "ferrolux: --path: element 1, \"Belden 9258:10ft@1e-300\": the velocity factor after the @ is a number from "
       "0.1 to 1"},
      {{"--cable", "Belden 9258", "--length", "10", "--vf", "1e-300"}, "ferrolux: --vf: 1e-300 is below 0.1\n"},
  };
  for (const auto& c : cases) {
    const CalcRun run = RunCalc(With({"--mhz", "14", "--antenna-z", "50-j20"}, c.arguments));
    EXPECT_EQ(run.status, 2) << c.err;
    EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
  }
}

// The header showed the catalog's velocity factor while the line model used the one given.
TEST(CalcText, HeaderShowedTheCatalogsVelocityFactorNotTheOneUsed) {
  for (const auto& [arguments, vf] :
       {std::pair{std::vector<std::string>{"--path", "Belden 9258:100ft@0.5"}, "VF: .5\n"},
        {{"--cable", "Belden 9258", "--length", "100", "--vf", "0.5"}, "VF: .5\n"},
        {{"--cable", "Belden 9258", "--length", "100"}, "VF: 0.82\n"}}) {
    const CalcRun run = RunCalc(With({"--mhz", "14", "--antenna-z", "50"}, arguments));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(vf), std::string::npos) << arguments.back() << "\n" << run.out;
  }
}

// A joint's nan impedance was written as an open: "z_in_open": true.
TEST(PathElementFields, NanImpedanceWrittenAsAnOpen) {
  PathCalculation c;
  c.entries.resize(1);
  c.matchedLossDb = {0};
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (const auto& [z, open] :
       {std::pair{Complex(nan, nan), false}, {Complex(inf, 0), true}, {Complex(50, 0), false}}) {
    c.figures = PathFigures{false, {Joint{z, 1, 0}, Joint{50, 1, 0}}, {ElementFigures{}}, 0, 0};
    const nlohmann::ordered_json j = JsonOf(ElementRecord(c, 0));
    EXPECT_EQ(j["z_in_open"], open) << z;
    EXPECT_EQ(j["z_in"].is_null(), !std::isfinite(z.real())) << z;
  }
}

TEST(VoltageRating, OnlyAVoltageIsReadAndAPowerNever) {
  const struct {
    const char* text;
    double volts;  // 0: none
    bool rms;
  } cases[] = {{"1900 V", 1900, false}, {"2500 Vdc", 2500, false}, {"740 Vp", 740, false}, {"3700 Vrms", 3700, true},
               {"5 kVrms", 5000, true}, {"890W@30M", 0, false},    {"2.9kWpk", 0, false},  {"13kWpk", 0, false},
               {"", 0, false},          {"V", 0, false},           {"-5 V", 0, false},     {"nan V", 0, false}};
  for (const auto& c : cases) {
    const std::optional<VoltageRating> rating = ReadVoltageRating(c.text);
    EXPECT_EQ(rating.has_value(), c.volts > 0) << c.text;
    if (!rating) continue;
    EXPECT_EQ(rating->volts, c.volts) << c.text;
    EXPECT_EQ(rating->rms, c.rms) << c.text;
  }
}

}  // namespace
}  // namespace ferrolux::cli
