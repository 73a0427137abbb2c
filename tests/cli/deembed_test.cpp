#include "cli/deembed_command.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command_error.hpp"
#include "cli/deembed.hpp"
#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

const std::string kData = FERROLUX_TEST_DATA_DIR;

// The two cables of the scikit-rf sweeps, with the shipped catalog's figures.
std::vector<CatalogRow> SweepCables() {
  return {Cable("RG-58A/U\tBelden 8259\t50\t0.66\t\t\t\t\t\t\t\t0\t0.425585\t0.00964155"),
          Cable("RG-8/U\tBelden 9913\t50\t0.84\t\t\t\t\t\t\t\t0.122504\t0.120581\t0.000155225")};
}

// An exact open (S = 1+j0, as calibration kits and simulators write it) went through the transform
// as inf/inf and came out "7 -nan -nan" in the --s1p file: it gives the limit -Z0 coth(γℓ)
// (scikit-rf's zl_2_zin carries that load back to |Zin| above 1e17), and a file that reads back.
TEST(Deembed, ExactOpenWroteNanIntoTheAntennaSweep) {
  const CatalogCable cable = ReadCatalogCable(SweepCables()[0]);
  const DeembedLine line{cable, 100, 0.66, 50};
  const DeembeddedSweep points(ReadTouchstone("# MHz S RI R 50\n7 1 0\n"), line);
  EXPECT_NEAR(std::abs(points[0].antennaZ - Complex(-18.513396635478315, 67.4426164572408)), 0, 1e-9);
  EXPECT_FALSE(points[0].passive);
  std::ostringstream text;
  WriteAntennaSweep(text, line, points);
  const Sweep back = ReadTouchstone(text.str());
  EXPECT_NEAR(std::abs(back.points[0].z - points[0].antennaZ), 0, 1e-9);
}

// A fault names the file and line and leaves no output file, one that cannot be written says why;
// a good run writes a sweep of the antenna end that reads back.
TEST(RunDeembed, FaultsNameTheLineAndOutputIsWholeOrAbsent) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ferrolux_deembed_test";
  std::filesystem::create_directories(dir);
  const std::string bad = (dir / "bad.s1p").string(), out = (dir / "out.s1p").string();
  std::ofstream(bad) << "# MHz S RI R 50\n7 0.1 0.2\n6 0.1 0.2\n";
  DeembedOptions o;
  o.file = bad, o.cable = "9913", o.length = "75", o.s1p = out;
  std::ostringstream text;
  try {
    RunDeembed(o, SweepCables(), text, {});
    ADD_FAILURE();
  } catch (const CommandError& e) {
    EXPECT_EQ(e.Status(), kExitFailure);
    EXPECT_EQ(std::string(e.what()), bad + ":3: the frequencies do not rise");
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  o.file = kData + "/rg8_9913_75ft_35j20.s1p";
  o.s1p = bad + "/antenna.s1p";
  try {
    RunDeembed(o, SweepCables(), text, {});
    ADD_FAILURE();
  } catch (const CommandError& e) {
    EXPECT_EQ(std::string(e.what()), o.s1p + ": could not be written: Not a directory");
  }
  o.s1p = out;
  RunDeembed(o, SweepCables(), text, {});
  std::ifstream written(out, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  const Sweep antenna = ReadTouchstone(bytes);
  EXPECT_EQ(antenna.points.size(), 11u);
  EXPECT_NEAR(std::abs(antenna.points[0].z - Complex(35, -20)), 0, 1e-6);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);  // no temporary left
  written.close();                                                            // Windows removes no file that is open
  std::filesystem::remove_all(dir);
}

// A part number "X<LF># GHz S RI R 50" wrote an option line of its own into --s1p, and every
// frequency read back 1,000 times too high; its ESC went into the file as it was.
TEST(WriteAntennaSweep, ACatalogTextWroteTouchstoneLinesOfItsOwn) {
  const CatalogCable cable =
      ReadCatalogCable(Cable("RG-8/U\x1b]0;t\a\tX\n# GHz S RI R 50\t50\t0.84\t\t\t\t\t\t\t\t0.1\t0.1\t0.0001"));
  const Sweep shack = ReadTouchstone("# MHz S RI R 50\n7 0.2 0\n14 0.1 0.1\n");
  std::ostringstream written;
  WriteAntennaSweep(written, {cable, 75, 0.84, 50}, DeembeddedSweep(shack, {cable, 75, 0.84, 50}));
  const std::string text = written.str();
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
  EXPECT_TRUE(text.starts_with("# MHz S RI R 50\n! Antenna end")) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
  EXPECT_EQ(ReadTouchstone(text).points.back().freqHz, 14e6);
}

// Each view asked for is drawn under a title naming the range and the cable: in the terminal one
// after another, as SVG stacked in one document; an SWR of 1 or below is refused by name.
TEST(RunDeembed, DrawsTheViewsAskedForUnderTheirTitles) {
  DeembedOptions o;
  o.file = kData + "/rg58a_100ft_rlc.s1p", o.cable = "8259", o.length = "100";
  o.views = {"swr", "rx", "smith"};
  o.swrCircle = "2";
  const std::vector<std::string> titles{"SWR at the shack and at the antenna, 6.5-7.7 MHz, through 100 ft of",
                                        "R and X at the antenna and at the shack (dashed), 6.5-7.7 MHz",
                                        "Impedance at the antenna and at the shack (dashed), 6.5-7.7 MHz"};
  OutputStyle style;
  style.utf8 = false;
  std::ostringstream text, svg;
  RunDeembed(o, SweepCables(), text, style);
  const std::string drawn = text.str();
  for (const std::string& title : titles) EXPECT_NE(drawn.find(title), std::string::npos) << title;
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\n'), 3 * 24 + 2);
  o.svg = "-";
  RunDeembed(o, SweepCables(), svg, style);
  const std::string stacked = svg.str();
  EXPECT_EQ(stacked.find("<svg y=\"0\""), stacked.find("<svg ", stacked.find("<svg ") + 1));
  EXPECT_NE(stacked.find("<svg y=\"960\""), std::string::npos);
  o.swrMax = "1";
  EXPECT_THROW(ReadDeembedOptions(o), CommandError);
}

// A path of one cable de-embeds as --cable and --length do, in every output; a longer one names
// itself in every title, and the options that do not go with it are refused by name.
TEST(RunDeembed, ThroughAPathEveryOutputNamesItAndOneCableIsTheCable) {
  const auto run = [](DeembedOptions o, OutputFormat format, bool svg) {
    o.file = kData + "/rg8_9913_75ft_35j20.s1p", o.format = format, o.svg = svg ? "-" : "";
    std::ostringstream out;
    RunDeembed(o, SweepCables(), out, {});
    return out.str();
  };
  DeembedOptions byCable, byPath, longer;
  byCable.cable = "9913", byCable.length = "75";
  byPath.path = "9913:75ft";
  longer.path = "9913:75ft, PL-259, 0.5dB, 8259:10m";
  for (const OutputFormat format : {OutputFormat::kText, OutputFormat::kCsv, OutputFormat::kJson})
    EXPECT_EQ(run(byPath, format, false), run(byCable, format, false)) << static_cast<int>(format);
  const std::string through = "through the path RG-8/U 75 ft, UHF, .5 dB, RG-58A/U 10 m";
  EXPECT_NE(run(longer, OutputFormat::kText, false).find("seen at the antenna " + through + "\n"), std::string::npos);
  EXPECT_NE(run(longer, OutputFormat::kText, true).find(through), std::string::npos);
  EXPECT_NE(run(longer, OutputFormat::kJson, false).find("\"path\": \"" + longer.path + "\""), std::string::npos);
  const struct {
    std::string path, cable, vf, error;
  } faults[] = {
      {"", "", "", "give --cable and --length, or --path"},
      {longer.path, "", "0.7", "--vf does not go with --path: give a cable's own after an @ (RG-8X:6ft@0.78)"},
  };
  for (const auto& f : faults) {
    DeembedOptions o;
    o.path = f.path, o.cable = f.cable, o.vf = f.vf;
    try {
      ReadDeembedOptions(o);
      ADD_FAILURE() << f.error;
    } catch (const CommandError& e) {
      EXPECT_EQ(std::string(e.what()), f.error);
    }
  }
}

}  // namespace
}  // namespace ferrolux::cli
