#include "cli/measure.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <cstdint>
#include <functional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/command_error.hpp"
#include "cli/measure_output.hpp"
#include "cli/sweep_file.hpp"
#include "support/cable_sweeps.hpp"

namespace ferrolux::cli {
namespace {

SweepFile Sweep(const std::string& name, size_t first = 0, size_t count = SIZE_MAX) {
  const testing::SweepData data = testing::ReadSweepData(name);
  SweepFile file{name, {}};
  for (size_t i = first; i < data.mhz.size() && file.Size() < count; ++i)
    file.sweep.points.push_back({data.mhz[i] * 1e6, data.z[i], static_cast<size_t>(data.lines[i])});
  return file;
}

// A calibrated open as an analyser reads it at HF: |S11| 1.0005, a hair above what a passive end gives.
std::complex<double> ActiveOpen() {
  const std::complex<double> s = std::polar(1.0005, 0.3);
  return 50.0 * (1.0 + s) / (1.0 - s);
}

MeasureOptions Options(const std::string& length) {
  MeasureOptions o;
  o.length = length;
  return o;
}

struct Fault {
  int status;
  std::string message;
};

Fault FaultOf(const std::optional<SweepFile>& open, const std::optional<SweepFile>& shorted,
              const MeasureOptions& options) {
  try {
    MeasureCable(open, shorted, options);
  } catch (const CommandError& error) {
    return {error.Status(), error.what()};
  }
  return {kExitDone, ""};
}

TEST(MeasureCable, FaultsNameTheFileAndLine) {
  const SweepFile open = Sweep("rg213-open.s1p"), shorted = Sweep("rg213-short.s1p");
  SweepFile shifted = shorted, active = open;
  shifted.sweep.points[4].freqHz += 0.5e6;
  for (SweepPoint& p : active.sweep.points) p.z = ActiveOpen();
  MeasureOptions line = Options("60m");
  line.catalogLine = true;
  const struct {
    std::optional<SweepFile> open, shorted;
    MeasureOptions options;
    Fault fault;
  } cases[] = {
      {open,
       shifted,
       Options("60m"),
       {kExitFailure,
        "rg213-short.s1p:7: 4.48 MHz where rg213-open.s1p has 3.98 MHz: the two sweeps must have the "
        "same frequencies"}},
      {Sweep("rg213-open.s1p", 0, 5),
       shorted,
       Options("60m"),
       {kExitFailure,
        "rg213-short.s1p:8: 4.725 MHz is not in rg213-open.s1p: the two sweeps must have the same "
        "frequencies"}},
      {active,
       shorted,
       Options("60m"),
       {kExitFailure,
        "rg213-open.s1p: no frequency left to measure: 201 read |S11| above 1, which only an active "
        "termination gives: check the calibration"}},
      {std::nullopt,
       std::nullopt,
       Options("60m"),
       {kExitUsage, "give the sweep with the far end open (--open), shorted (--short) or both"}},
      {open, shorted, Options("0"), {kExitUsage, "--length: the cable needs a length above 0"}},
      {open, shorted, line, {kExitUsage, "--catalog-line needs --type"}},
  };
  for (const auto& c : cases) {
    const Fault fault = FaultOf(c.open, c.shorted, c.options);
    EXPECT_EQ(fault.status, c.fault.status) << c.fault.message;
    EXPECT_EQ(fault.message, c.fault.message);
  }
}

// The fitted record reads as the catalog's RG-213 (50, 0.66, 0.0114228, 0.156823, 0.00299448) does
// to within the fit, and the type and part number are the user's.
TEST(MeasuredCatalogLine, TheCableAsACatalogRecord) {
  MeasureOptions options = Options("60m");
  options.catalogLine = true, options.type = "My RG-213", options.part = "Tower run";
  const CableReport report = MeasureCable(Sweep("rg213-open.s1p"), Sweep("rg213-short.s1p"), options);
  const std::string line = MeasuredCatalogLine(report, options);
  EXPECT_EQ(line, "My RG-213\tTower run\t50\t0.66\t\t\t\t\t\t\t\t0.0114228\t0.156823\t0.00299448\t\t\r\n");
  EXPECT_LT(report.worstFitError, 0.005);
}

TEST(WriteMeasure, TextTableWithTheFitAndWhatWasLeftOut) {
  CableReport report = MeasureCable(Sweep("rg213-open.s1p", 0, 3), Sweep("rg213-short.s1p", 0, 3), Options("60m"));
  report.measurement.leftOut.push_back({});
  report.measurement.tooCoarseAtMhz = 1.745;
  std::ostringstream out;
  WriteMeasureText(out, report, false, {});
  EXPECT_EQ(out.str(),
            "Cable of 196.85 ft (60 m) measured from the far end open and shorted: 3 points, 1 to 2.49 MHz\n"
            "  MHz      Z0 Ohms  dB/100 ft     VF\n"
            "    1  50.95-j0.98      0.171  0.648\n"
            "1.745  50.72-j0.73      0.224  0.651\n"
            " 2.49  50.60-j0.60      0.266  0.652\n"
            "Fit, matched loss per 100 ft = k0 + k1 * sqrt(MHz) + k2 * MHz: k0 0.0114228, k1 0.156823, k2 0.00299447; "
            "worst error 0.00 %\n"
            "1 point left out where the open and the short read alike: the far end cannot be seen through the loss "
            "there\n"
            "The sweep steps more than a quarter wave at 1.745 MHz: from there the velocity factor may be off by "
            "whole half waves; sweep with finer steps\n");
}

TEST(WriteMeasure, OneSweepGivesTheLossAloneInEveryFormat) {
  const CableReport report = MeasureCable(std::nullopt, Sweep("rg213-short.s1p", 100, 2), Options("60m"));
  std::ostringstream text, csv, json;
  WriteMeasureText(text, report, true, {});
  WriteMeasureCsv(csv, report);
  WriteMeasureJson(json, report);
  EXPECT_NE(text.str().find("   MHz  dB/100 m\n  75.5     5.248\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("assumes a lossless far end"), std::string::npos);
  EXPECT_EQ(csv.str().substr(csv.str().find('\n') + 1, 9), "75.5,,,1.");
  const auto j = nlohmann::json::parse(json.str());
  EXPECT_EQ(j["method"], "return_loss");
  EXPECT_EQ(j["points"].size(), 2u);
  EXPECT_TRUE(j["points"][0]["z0"].is_null());
  EXPECT_EQ(j["left_out"], 0);
  EXPECT_TRUE(j["fit"]["worst_error_pct"].is_number());
}

// One such point used to stop the command; it is left out and counted, in every format.
TEST(MeasureCable, OnePointSlightlyAboveUnityIsLeftOutAndCounted) {
  SweepFile open = Sweep("rg213-open.s1p", 0, 5), shorted = Sweep("rg213-short.s1p", 0, 5);
  open.sweep.points[2].z = ActiveOpen();
  for (const bool both : {true, false}) {
    const CableReport report =
        both ? MeasureCable(open, shorted, Options("60m")) : MeasureCable(open, {}, Options("60m"));
    std::ostringstream text, json;
    WriteMeasureText(text, report, false, {});
    WriteMeasureJson(json, report);
    EXPECT_EQ(report.measurement.points.size(), 4u) << both;
    EXPECT_NE(text.str().find("1 point left out where the sweep reads |S11| above 1, which only an active termination "
                              "gives: check the calibration\n"),
              std::string::npos)
        << text.str();
    const auto j = nlohmann::json::parse(json.str());
    EXPECT_EQ(j["left_out"], 1);
    EXPECT_EQ(j["left_out_active"], 1);
  }
}

// 8.45 MHz alone on 60 m of RG-213 is five half waves and a bit: counted from below half a wave
// the velocity factor came out 27 and was printed and written. None is given now, and why is said.
TEST(MeasureCable, VelocityFactorAboveOneIsNeverPrintedOrWritten) {
  MeasureOptions options = Options("60m");
  options.catalogLine = true, options.type = "Mine", options.part = "P";
  const CableReport report = MeasureCable(Sweep("rg213-open.s1p", 10, 1), Sweep("rg213-short.s1p", 10, 1), options);
  std::ostringstream text, json;
  WriteMeasureText(text, report, false, {});
  WriteMeasureJson(json, report);
  EXPECT_NE(text.str().find("0.493   -\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("it would come out above 1"), std::string::npos);
  EXPECT_NE(text.str().find("give --vf-guess\n"), std::string::npos);
  const auto j = nlohmann::json::parse(json.str());
  EXPECT_TRUE(j["points"][0]["velocity_factor"].is_null());
  EXPECT_EQ(j["velocity_factor_unresolved"], true);
  EXPECT_EQ(MeasuredCatalogLine(report, options).substr(0, 12), "Mine\tP\t50\t\t\t");
  options.vfGuess = "0.7";
  const CableReport guessed = MeasureCable(Sweep("rg213-open.s1p", 10, 1), Sweep("rg213-short.s1p", 10, 1), options);
  EXPECT_EQ(MeasuredCatalogLine(guessed, options).substr(0, 15), "Mine\tP\t50\t0.66\t");
}

// Texts the catalog loader would not read back as typed are refused before any file is read;
// those it can are written in its own single-byte text.
TEST(MeasuredCatalogLine, CatalogLineTextsTheLoaderCannotReadBackAreRefused) {
  const struct {
    std::string type, part, fault;
  } cases[] = {
      {"Kabel \xCE\xA9", "P",
       "--type holds \"\xCE\xA9\" (U+03A9), which the catalog's single-byte text (Windows-1252) cannot hold: write it "
       "without"},
      {"T", "A\x1A", "--part holds the control character U+001A, which a catalog field cannot keep"},
      {"T", " ", "--part is blank"},
      {std::string(8100, 'x'), "P",
       "--type and --part: 8101 bytes together leave no room for the figures in a catalog record of at most 8192 "
       "bytes, the longest the catalog reads"},
  };
  for (const auto& c : cases) {
    MeasureOptions options = Options("60m");
    options.catalogLine = true, options.type = c.type, options.part = c.part;
    try {
      ReadMeasureOptions(options);
      ADD_FAILURE() << c.fault;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.Status(), kExitUsage);
      EXPECT_EQ(error.what(), c.fault);
    }
  }
  MeasureOptions options = Options("60m");
  options.catalogLine = true, options.type = "Kabel \xC3\x84", options.part = "P";
  const CableReport report = MeasureCable(Sweep("rg213-open.s1p"), Sweep("rg213-short.s1p"), options);
  EXPECT_EQ(MeasuredCatalogLine(report, options).substr(0, 10), "Kabel \xC4\tP\t");
}

// A cable whose catalog loss is 0.8 of the measured one: 25 % more than new everywhere, most in dB
// at the top of the sweep.
TEST(MeasureCable, SaysHowMuchWorseThanNewTheCableIs) {
  CatalogRow catalog;
  catalog[column::kType] = "RG-213", catalog[column::kPartNumber] = "8267";
  catalog[column::kImpedance] = "50", catalog[column::kVelocityFactor] = ".66";
  catalog[column::kK0] = "0.00913824", catalog[column::kK1] = "0.1254584", catalog[column::kK2] = "0.002395584";
  const CableReport report = MeasureCable(Sweep("rg213-open.s1p"), Sweep("rg213-short.s1p"), Options("60m"), &catalog);
  std::ostringstream text, json;
  WriteMeasureText(text, report, true, {});
  WriteMeasureJson(json, report);
  EXPECT_NE(text.str().find("  VF  New dB/100 m  Worse dB  Worse %\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("Against a new RG-213, 8267: 0.60 dB more than new on average over the sweep, +25 %; the "
                            "most at 150 MHz: 0.94 dB more than new, +25 %\n"),
            std::string::npos)
      << text.str();
  const auto j = nlohmann::json::parse(json.str());
  EXPECT_EQ(j["against_new"]["cable"], "RG-213, 8267");
  EXPECT_NEAR(j["against_new"]["mean_worse_pct"].get<double>(), 25, 0.5);
  EXPECT_EQ(j["against_new"]["most_worse_mhz"], 150);
  EXPECT_NEAR(j["points"][0]["worse_than_new_pct"].get<double>(), 25, 0.5);
}

// deembed and tdr read through ReadSweep, measure through ReadSweepFile: a file's fault is the
// command's failure, status 1, in the reader's own words.
TEST(ReadSweepFile, AFileFaultIsTheCommandsFailure) {
  const std::string missing = "no-such-folder/antenna.s1p";
  for (const auto& read :
       {std::function<void()>([&] { ReadSweep(missing); }), std::function<void()>([&] { ReadSweepFile(missing); })}) {
    try {
      read();
      ADD_FAILURE() << missing;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.Status(), kExitFailure);
      EXPECT_EQ(std::string(error.what()), missing + ": No such file or directory");
    }
  }
}

}  // namespace
}  // namespace ferrolux::cli
