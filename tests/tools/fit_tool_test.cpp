#include "tools/fit/fit_tool.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/temp_folder.hpp"

namespace ferrolux::fit {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = 0;
  std::string out, err;
};

class FitToolTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  ToolRun Tool(std::vector<std::string> args) {
    std::ostringstream out, err;
    ToolRun run;
    run.status = RunFitTool(args, out, err);
    run.out = out.str(), run.err = err.str();
    return run;
  }
  std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }
};

void ExpectOneErrorLine(const ToolRun& run, const std::string& message) {
  EXPECT_EQ(run.status, kToolFailed);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
}

// Points of 0.5 + 0.2·√f + 0.001·f dB per 100 ft.
const char kGoodPoints[] = "# a test cable\n10 1.1424555\n100 2.6\n\n400 4.9\n1000 7.8245553\n2000 11.444272\n";

TEST_F(FitToolTest, PrintsTheCoefficientsTheErrorsAndTheLineToFillIn) {
  folder.Write("cable.txt", kGoodPoints);
  const ToolRun run = Tool({Path("cable.txt")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("Points up to 1000 MHz: 4 of 5\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("k0 0.5\nk1 0.2\nk2 0.001\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Worst relative error: 0.00 %"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("<RMS>\t0.5\t0.2\t0.001\t<Description>\t<Recommended Uses>\n"), std::string::npos);
}

TEST_F(FitToolTest, OptionsForMetresAndForTheUpperLimitChangeTheFit) {
  struct Case {
    std::vector<std::string> options;
    std::string bytes, shown;
  };
  const Case cases[] = {
      {{"--per-100m"}, "10 3.7481681\n100 8.53008\n400 16.07592\n1000 25.670801\n", "k0 0.5\nk1 0.2\nk2 0.001\n"},
      {{"--max-mhz", "2500"}, kGoodPoints, "Points up to 2500 MHz: 5 of 5\n"},
  };
  for (const Case& c : cases) {
    folder.Write("cable.txt", c.bytes);
    std::vector<std::string> args = c.options;
    args.push_back(Path("cable.txt"));
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 0) << c.options[0] << run.err;
    EXPECT_NE(run.out.find(c.shown), std::string::npos) << c.options[0] << run.out;
  }
}

TEST_F(FitToolTest, EachBadInputGetsOneLineWithItsFileAndLineAndStatus2) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string message;  // after the file name
  };
  const Case cases[] = {
      {"frequency not a number", "10 1\nten 2\n100 3\n", ":2: frequency is not a number: ten"},
      {"loss not a number", "10 1\n50 2\n100 3dB\n", ":3: loss is not a number: 3dB"},
      {"negative loss", "10 1\n50 -2\n100 3\n", ":2: loss must be above 0: -2"},
      {"zero loss", "10 0\n50 2\n100 3\n", ":1: loss must be above 0: 0"},
      {"zero frequency", "0 1\n50 2\n100 3\n", ":1: frequency must be above 0: 0"},
      {"three fields", "10 1\n50 2 7\n100 3\n", ":2: expected a frequency in MHz and a loss, found 3 fields"},
      {"one field", "10\n50 2\n100 3\n", ":1: expected a frequency in MHz and a loss, found 1 fields"},
      {"fewer than 3 points", "10 1\n50 2\n", ":2: the fit needs at least 3 points up to 1000 MHz, found 2"},
      {"fewer than 3 up to 1000 MHz", "10 1\n2000 9\n3000 11\n",
       ":3: the fit needs at least 3 points up to 1000 MHz, found 1"},
      {"empty file", "", ":1: the file is empty"},
      {"comments only", "# nothing yet\n\n", ":2: no points in the file"},
      {"not finite", "10 1\n50 inf\n100 3\n", ":2: loss is not a number: inf"},
      {"out of all proportion", "1 1e-300\n2 1e300\n5 1e-300\n", ":3: no finite fit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder.Write("bad.txt", c.bytes);
    ExpectOneErrorLine(Tool({Path("bad.txt")}), Path("bad.txt") + c.message);
  }
}

TEST_F(FitToolTest, AMissingFileAndAWrongCommandLineAreFaultsToo) {
  ExpectOneErrorLine(Tool({Path("none.txt")}), Path("none.txt") + ": cannot be read");
  ExpectOneErrorLine(Tool({}), "expected one points file");
  ExpectOneErrorLine(Tool({"--catalog", "a", "b"}),
                     "--catalog needs the points file, the facts file and the catalog file");
  ExpectOneErrorLine(Tool({"--bogus", "x"}), "unknown option --bogus");
  ExpectOneErrorLine(Tool({"x", "--max-mhz"}), "--max-mhz needs a frequency above 0, not nothing");
  ExpectOneErrorLine(Tool({"--max-mhz", "-5", "x"}), "--max-mhz needs a frequency above 0, not -5");
  ExpectOneErrorLine(Tool({"--catalog", "--per-100m", "a", "b", "c"}), "--per-100m is for one cable");
}

}  // namespace
}  // namespace ferrolux::fit
