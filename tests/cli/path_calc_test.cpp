#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalog/voltage_rating.hpp"
#include "cli/commands.hpp"

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
