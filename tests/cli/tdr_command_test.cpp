#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.hpp"

namespace ferrolux::cli {
namespace {

const std::string kCases = FERROLUX_TEST_DATA_DIR "/tdr/";

struct Ran {
  int status;
  std::string out, err;
};

Ran RunTdr(std::vector<std::string> arguments) {
  CLI::App app("", "ferrolux");
  // The test data's paths begin with '/', which the Windows build would read as an option.
  app.allow_windows_style_options(false);
  CommandContext context;
  std::ostringstream out, err;
  context.catalogFile = [] { return std::filesystem::path(FERROLUX_TEST_DATA_DIR) / "../../data/CableCatalog.txt"; };
  context.out = &out;
  context.err = &err;
  AddCommands(app, context);
  arguments.insert(arguments.begin(), "tdr");
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  app.parse(reversed);
  const int status = RunChosenCommand(context).value_or(-1);
  return {status, out.str(), err.str()};
}

// The whole text of two readings: low-pass with the cable's loss taken out and the profile, and
// band-pass, which must say what it cannot tell; then the faults and their exit statuses.
TEST(TdrCommand, TextSaysModeWindowResolutionAndEachReflection) {
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string out, err;
  } cases[] = {
      {{kCases + "rg58_open_10m.s1p", "--cable", "Belden 8259", "--metric", "--step"},
       0,
       "Distance to fault in " + kCases +
           "rg58_open_10m.s1p, velocity factor 0.66\n"
           "Low-pass mode (the sweep is at f = k df; DC extrapolated), window Kaiser beta 6\n"
           "Resolution 0.24 m (0.79 ft), range 98.93 m (324.58 ft)\n"
           "The round-trip loss of RG-58A/U, Belden 8259 is taken out: each reflection reads its true size\n"
           "Largest reflections:\n"
           "  10.00 m (32.81 ft)  |Γ| 1.000, return loss 0.0 dB, open, then 1052.7 Ω\n",
       ""},
      {{kCases + "bandpass_open_10m.s1p", "--vf", "0.66", "--window", "none", "--length-max", "50"},
       0,
       "Distance to fault in " + kCases +
           "bandpass_open_10m.s1p, velocity factor 0.66\n"
           "Band-pass mode: magnitude only, it cannot tell an open from a short, window none\n"
           "Resolution 0.98 ft (0.30 m), range 324.58 ft (98.93 m)\n"
           "Largest reflections:\n"
           "  32.81 ft (10.00 m)  |Γ| 0.475, return loss 6.5 dB\n",
       ""},
      {{kCases + "two_faults.s1p"}, 2, "", "ferrolux: give either --vf or --cable\n"},
      {{kCases + "bandpass_open_10m.s1p", "--vf", "0.66", "--step"},
       2,
       "",
       "ferrolux: --step: an impedance profile needs a sweep at f = k df (low-pass mode)\n"},
      {{kCases + "second_opinion.tsv", "--vf", "0.66"}, 1, "", "ferrolux: " + kCases + "second_opinion.tsv:1: "},
  };
  for (const auto& c : cases) {
    const Ran ran = RunTdr(c.arguments);
    EXPECT_EQ(ran.status, c.status) << c.arguments[0];
    EXPECT_EQ(ran.out, c.out);
    EXPECT_EQ(ran.err.substr(0, c.err.size()), c.err);
  }
}

// A reflection a hair above 1 gave a return loss of "-0.0 dB".
TEST(TdrCommand, ReturnLossOfAWholeReflectionReadMinusZero) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "ferrolux_tdr_opens.s1p";
  std::ofstream(file) << "# MHz S RI R 50\n1 1 0\n2 1 0\n3 1 0\n";
  const Ran ran = RunTdr({file.string(), "--vf", "0.66"});
  std::filesystem::remove(file);
  EXPECT_NE(ran.out.find("|\u0393| 1.000, return loss 0.0 dB, open\n"), std::string::npos) << ran.out;
}

// A lossless open 30 m away read through RG-58: the loss taken out lifted it above 1, printed as
// a real |Γ|. The text says which peak was shown as 1 and why; JSON and CSV carry a flag.
TEST(TdrCommand, LossTakenOutOfALosslessSweepReadAboveOne) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "ferrolux_tdr_lossless.s1p";
  {
    std::ofstream sweep(file);
    sweep << "# MHz S MA R 50\n";
    for (int mhz = 1; mhz <= 400; ++mhz) sweep << mhz << " 1 " << std::fmod(-360.0 * mhz * 60 / 197.863, 360) << '\n';
  }
  const std::vector<std::string> line{file.string(), "--cable", "Belden 8259", "--metric"};
  const Ran text = RunTdr(line);
  std::vector<std::string> asJson = line, asCsv = line;
  asJson.insert(asJson.end(), {"--format", "json"});
  asCsv.insert(asCsv.end(), {"--format", "csv"});
  const Ran json = RunTdr(asJson), csv = RunTdr(asCsv);
  std::filesystem::remove(file);
  EXPECT_NE(
      text.out.find("Shown as 1: the reflection at 30.00 m (98.43 ft) read above 1, so the loss taken out is more "
                    "than the sweep lost (check the cable and its velocity factor)\n"),
      std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("|\u0393| 1.000"), std::string::npos) << text.out;
  const nlohmann::json parsed = nlohmann::json::parse(json.out);
  EXPECT_TRUE(parsed["capped"].get<bool>());
  EXPECT_TRUE(parsed["peaks"][0]["capped"].get<bool>());
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "distance_m,distance_ft,reflection,capped");
  EXPECT_NE(csv.out.find(",yes\n"), std::string::npos);
}

TEST(TdrCommand, JsonCarriesModeResolutionRangePointsAndPeaks) {
  const Ran ran =
      RunTdr({kCases + "step_50_75_5m.s1p", "--vf", "0.66", "--step", "--format", "json", "--length-max", "10m"});
  ASSERT_EQ(ran.status, 0) << ran.err;
  const nlohmann::json json = nlohmann::json::parse(ran.out);
  EXPECT_EQ(json["mode"], "low_pass");
  EXPECT_NEAR(json["resolution_m"].get<double>(), 0.241, 0.001);
  EXPECT_NEAR(json["range_m"].get<double>(), 98.93, 0.01);
  const nlohmann::json& last = json["points"].back();
  EXPECT_NEAR(last["distance_m"].get<double>(), 10, 0.05);
  EXPECT_NEAR(last["distance_ft"].get<double>(), 10 / 0.3048, 0.2);
  EXPECT_NEAR(last["impedance_ohms"].get<double>(), 75, 1);
  EXPECT_NEAR(json["peaks"][0]["reflection"].get<double>(), 0.2, 0.005);
  EXPECT_EQ(json["peaks"][0]["looks_like"], "higher impedance");
}

}  // namespace
}  // namespace ferrolux::cli
