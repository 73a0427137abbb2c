// The subcommands of the real program, through plain pipes and, where colour or the terminal's
// width matters, in a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "command_run.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedCatalog = fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt";

class CliE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  fs::path folder = temp.Path();
  // No user copy of the catalog may stand in for a missing one.
  std::map<std::string, std::string> environment{{"XDG_DATA_HOME", (folder / "data").string()}};

  void SetUp() override { fs::copy_file(kShippedCatalog, folder / "CableCatalog.txt"); }
  CommandResult Run(const std::vector<std::string>& arguments) {
    return RunCommand(FERROLUX_BINARY, arguments, folder, environment);
  }
};

TEST_F(CliE2eTest, ErrorsSayWhatIsWrongInOneLineWithTheirExitStatus) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"calc", "--band", "2m", "--cable", "9913"}, 2, "ferrolux: --length is required\n"},
      // A command line's escape bytes reached the terminal through the usage fault that quoted them.
      {{"cables", "--x\x1b]0;T\x07"}, 2, "ferrolux: unknown option --x\u2190]0;T\u2022\n"},
      {{"calc", "--length", "50\x1b[2J", "--band", "2m", "--cable", "9913"},
       2,
       "ferrolux: --length: \"50\u2190[2J\" is not a length (50, 50ft or 15m)\n"},
      {{"calc", "--length", "50", "--band", "2m", "--mhz", "7", "--cable", "9913"},
       2,
       "ferrolux: --band excludes --mhz\n"},
      {{"calc", "--length", "50", "--swr", "0", "--band", "2m", "--cable", "9913"},
       2,
       "ferrolux: --swr: 0 is not above 0\n"},
      {{"compare", "--length", "fifty", "--band", "2m"},
       2,
       "ferrolux: --length: \"fifty\" is not a length (50, 50ft or 15m)\n"},
      {{"compare", "--length", "50", "--band", "11m"},
       2,
       "ferrolux: --band: no band \"11m\"; the bands are 160m 80m 40m 30m 20m 17m 15m 12m 10m 6m 2m 1.25m 70cm gmrs\n"},
      {{"compare", "--length", "50", "--band", "2m", "--sort", "price"},
       2,
       "ferrolux: --sort: price not in {total,matched,name,exact}\n"},
      {{"cables", "--colour"}, 2, "ferrolux: unknown option --colour\n"},
      {{"calc", "--length", "50", "--band", "2m", "--cable", "9913", "--antenna-z", "35-20"},
       2,
       "ferrolux: --antenna-z: \"-20\" in \"35-20\" is not understood; write an impedance in ohms as R, R+jX or R-jX "
       "(35-j20)\n"},
      {{"deembed", "no.s1p", "--cable", "9913", "--length", "50"}, 1, "ferrolux: no.s1p: No such file or directory\n"},
      {{"calc", "--length", "50", "--band", "2m", "--cable", "heliax"},
       2,
       "ferrolux: --cable \"heliax\" matches no cable; `ferrolux cables` lists them\n"},
      {{"calc", "--length", "50", "--band", "2m", "--cable", "lmr-400"},
       2,
       "ferrolux: --cable \"lmr-400\" matches 2 cables; give a part number:\n"
       "  LMR-400, Times LMR-400\n"
       "  LMR-400, Times LMR-400-UF\n"},
      {{"calc", "--length", "50", "--band", "2m", "--cable", "LMR4000"},
       2,
       "ferrolux: --cable \"LMR4000\" matches no cable; did you mean:\n"
       "  LMR-400\n  LMR-100A\n  LMR-200\n  LMR-300\n  LMR-500\n"},
  };
  for (const Case& c : cases) {
    const CommandResult result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments[1];
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.out, "");
  }
}

// Each fault used to be answered differently: on standard output with status 0, read as
// something else (0x10 as 16, --metric=2 as yes, "" as every cable or the default), or as an
// unrelated complaint, or after a file fault. Now: one line naming the option, nothing on standard output, status 2.
TEST_F(CliE2eTest, EveryUsageFaultIsOneLineNamingTheOptionWithStatusTwo) {
  const std::vector<std::string> calc = {"calc", "--length", "50", "--band", "2m"};
  auto with = [](std::vector<std::string> base, const std::vector<std::string>& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
  };
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {{"plot", "--cable", "9913", "--width", "100000"}, "--width: \"100000\" is not a whole number from 40 to 1000"},
      {{"plot", "--cable", "9913", "--height", "0"}, "--height: \"0\" is not a whole number from 12 to 1000"},
      {{"plot", "--cable", "9913", "--svg", ""}, "--svg: must not be empty"},
      {{"plot", "--cable", "9913", "--metric=2"}, "--metric: takes no value, not 2"},
      {{"compare", "--length", "0x10", "--band", "2m"}, "--length: \"0x10\" is not a length (50, 50ft or 15m)"},
      {with(calc, {"--cable", ""}), "--cable: must not be empty"},
      {{"--catalog", "", "cables"}, "--catalog: must not be empty"},
      {{"cables", "--catalog"}, "--catalog: 1 required FILE missing"},
      {{"cables", "--catalog", "--metric"}, "--catalog: needs a file, not --metric"},
      {{"compare", "--length", "50", "--band", "2m", "--type", "heliax"}, "--type \"heliax\": no cable of that type"},
      {{"cables", "--match", "heliax"}, "--match \"heliax\": no cable matches"},
      {{"plot", "--type", "heliax"}, "--type \"heliax\": no cable of that type"},
      // The newer subcommands' options, each refused before the catalog or a sweep is read.
      {{"deembed", "", "--cable", "9913", "--length", "75"}, "FILE: must not be empty"},
      {{"deembed", "a.s1p", "--cable", "9913", "--length", "75", "--vf", ""}, "--vf: must not be empty"},
      {{"--catalog", "none.txt", "deembed", "a.s1p", "--cable", "9913", "--length", "75", "--vf", "1.5"},
       "--vf: 1.5 is above 1"},
      {with({"--catalog", "none.txt"}, with(calc, {"--cable", "9913", "--vf", "2", "--antenna-z", "50"})),
       "--vf: 2 is above 1"},
      {{"compare", "--length", "50", "--band", "2m", "--shack-z", ""}, "--shack-z: must not be empty"},
      {{"measure", "--open", "none.s1p", "--length", "5", "--catalog-line"}, "--catalog-line needs --type"},
      {{"measure", "--open", "a.s1p", "--length", "5", "--svg", ""}, "--svg: must not be empty"},
  };
  for (const Case& c : cases) {
    const CommandResult result = Run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.err;
    EXPECT_EQ(result.err, "ferrolux: " + c.err + "\n");
    EXPECT_EQ(result.out, "");
  }
}

// A catalog written by someone else is untrusted: its text can neither drive the terminal nor
// start a spreadsheet formula, and a loss past any reading is said, not printed as nan:1.
TEST_F(CliE2eTest, CatalogTextIsWrittenSafelyInEveryFormat) {
  temp.Write("hostile.txt", "RG\x1b]0;owned\a\t=HYPERLINK(1)\t50\t.66\t\t\t\t\t\t\t\t1e5\t0\t0\t\t\r\n");
  for (const std::string format : {"text", "csv", "json"}) {
    const CommandResult result =
        Run({"--catalog", "hostile.txt", "compare", "--length", "100", "--mhz", "14", "--format", format});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find('\x1b'), std::string::npos) << format;
    EXPECT_EQ(result.out.find('\a'), std::string::npos) << format;
    if (format == "csv") {
      EXPECT_NE(result.out.find(",'=HYPERLINK(1),"), std::string::npos) << result.out;
    } else if (format == "text") {
      EXPECT_NE(result.out.find("the line's loss is beyond any reading"), std::string::npos) << result.out;
    }
  }
}

// A sweep's fault quoted its bytes raw (ESC ] 0 ; retitled the terminal, a CR wrote over the
// message's start), and part-numbers printed a catalog's part numbers as they were.
TEST_F(CliE2eTest, EscapeBytesFromAFileReachedTheTerminal) {
  temp.Write("title.s1p", "# MHz S RI R 50\n7 \x1b]0;PWNED\a\x1b]52;c;cm0K\a 0\r\n");
  const CommandResult sweep = Run({"deembed", "title.s1p", "--cable", "9913", "--length", "50"});
  EXPECT_EQ(sweep.status, 1);
  EXPECT_TRUE(sweep.err.starts_with("ferrolux: title.s1p:2: \"")) << sweep.err;
  temp.Write("hostile.txt", "RG-8X\tX\x1b]0;owned\a\t50\t.66\t\t\t\t\t\t\t\t1\t0\t0\t\t\r\n");
  const CommandResult parts = Run({"--catalog", "hostile.txt", "part-numbers"});
  EXPECT_EQ(parts.status, 0) << parts.err;
  EXPECT_TRUE(parts.out.starts_with("X")) << parts.out;
  for (const std::string& text : {sweep.err, parts.out})
    EXPECT_EQ(std::count_if(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; }), 1)
        << text;  // the line end alone
}

TEST_F(CliE2eTest, ACatalogThatCannotBeLoadedEndsWithTheLoadersOwnText) {
  fs::remove(folder / "CableCatalog.txt");
  const CommandResult missing = Run({"cables"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "ferrolux: CableCatalog.txt: [53] File not found\n");

  std::string line = "f";
  for (int field = 2; field <= 33; ++field) line += "\tf";
  temp.Write("broken.txt", line + "\r\n");
  const CommandResult overflow = Run({"cables", "--catalog", "broken.txt"});
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(overflow.err,
            "             Error: SubScript out of range in ArgSplit Subroutine\n"
            "     Array Boundry: 32 \n"
            "Number of Elements: 33 \n"
            "ferrolux: broken.txt: SubScript out of range in ArgSplit Subroutine\n");
  EXPECT_EQ(overflow.out, "");
}

TEST_F(CliE2eTest, ScriptsGetEveryCableWithoutAnyTerminalCode) {
  const CommandResult csv = Run({"compare", "--length", "100", "--band", "2m", "--swr", "1.5", "--format", "csv"});
  EXPECT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 1 + 71);
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
            "type,part_number,matched_loss_db_per_100ft,matched_loss_db_per_100m,matched_loss_db,"
            "estimate_total_loss_db,possible,total_loss_db,power_out_w,"
            "power_lost_pct,antenna_swr,highest_shack_swr,exact_total_loss_db_min,exact_total_loss_db_max,"
            "impedance_ohms");
  const CommandResult text = Run({"cables", "--match", "lmr"});
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
  EXPECT_NE(text.out.find("LMR-400   Times LMR-400-UF"), std::string::npos) << text.out;
}

TEST_F(CliE2eTest, PlotDrawsToTheSizeAskedOrWritesAnSvgThatRenders) {
  const CommandResult chart = Run({"plot", "--cable", "9913", "--cable", "lmr-240", "--width", "90", "--height", "20"});
  EXPECT_EQ(chart.status, 0) << chart.err;
  EXPECT_EQ(std::count(chart.out.begin(), chart.out.end(), '\n'), 20);
  EXPECT_EQ(chart.out.find('\x1b'), std::string::npos);
  for (size_t at = 0, end; (end = chart.out.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = chart.out.substr(at, end - at);
    EXPECT_LE(std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }), 90) << line;
  }

  const CommandResult svg = Run({"plot", "--type", "CATV Hardline", "--svg", "chart.svg"});
  EXPECT_EQ(svg.status, 0) << svg.err;
  EXPECT_EQ(svg.out, "");
  const CommandResult rendered = RunCommand("/usr/bin/rsvg-convert", {"-o", "chart.png", "chart.svg"}, folder);
  EXPECT_EQ(rendered.status, 0) << rendered.err;
  EXPECT_GT(fs::file_size(folder / "chart.png"), 1000u);

  const CommandResult unwritable = Run({"plot", "--cable", "9913", "--svg", "no/such/folder/chart.svg"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, "ferrolux: no/such/folder/chart.svg: could not be written: No such file or directory\n");
}

// Colour and the width of the terminal, only where standard output is a terminal.
TEST_F(CliE2eTest, ColourOnlyOnATerminalAndNeverWithNoColor) {
  const std::vector<std::string> compare{"compare", "--length", "100", "--band", "2m", "--match", "Messi"};
  {
    PtySession s(FERROLUX_BINARY, folder, 80, 24, compare);
    EXPECT_EQ(s.WaitForExit(), 0);
    EXPECT_NE(s.Output().find("\x1b[1mType"), std::string::npos) << s.Output();
    // Types cut and columns closed up to fit, part numbers whole (--cable takes them); no room for the bar.
    EXPECT_EQ(s.Row(13), "RG-58C/U   Messi & Paoloni RG 58 C/U       5.83  5.83     -     5.83 26.1   73.9")
        << s.Screen();
    EXPECT_TRUE(s.Row(4).starts_with("Hyperflex… Messi & Paoloni Hyperflex 13 ")) << s.Row(4);
  }
  setenv("NO_COLOR", "1", 1);
  PtySession plain(FERROLUX_BINARY, folder, 80, 24, compare);
  unsetenv("NO_COLOR");
  EXPECT_EQ(plain.WaitForExit(), 0);
  EXPECT_EQ(plain.Output().find("\x1b["), std::string::npos) << plain.Output();
}

// The fault: `--svg /dev/stdout` said "No such file or directory" where the shell's `>` works.
TEST_F(CliE2eTest, SvgToDevStdoutIsWrittenThroughNotRefused) {
  const CommandResult svg = Run({"plot", "--cable", "9913", "--svg", "/dev/stdout"});
  EXPECT_EQ(svg.status, 0) << svg.err;
  EXPECT_EQ(svg.out.rfind("<?xml", 0), 0u) << svg.out.substr(0, 80);
}

// Whether the program is writing a file beside `output`: the old temporary by its name, or the
// handler that removes it, by SIGTERM caught (the command line catches no signal otherwise).
bool WritingBeside(pid_t pid, const fs::path& output) {
  std::string temporary = ".";  // appended, as GCC 12 warns falsely of a literal plus a temporary
  temporary.append(output.filename().string()).append(".");
  for (const fs::directory_entry& entry : fs::directory_iterator(output.parent_path()))
    if (entry.path().filename().string().rfind(temporary, 0) == 0) return true;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1U;
  return false;
}

// The fault: SIGINT, SIGTERM or SIGHUP while a large `--s1p` was written left its `.NAME.PID.0`
// temporary behind.
TEST_F(CliE2eTest, AnInterruptedSweepWriteLeavesNoTemporaryBehind) {
  {
    std::ofstream sweep(folder / "large.s1p");
    sweep << "# MHz S RI R 50\n";
    for (int i = 1; i <= 60000; ++i) sweep << 1 + i * 0.001 << " 0.3 " << (i % 7) * 0.01 << "\n";
  }
  const fs::path output = folder / "out.s1p";
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    bool caught = false;
    for (int attempt = 0; attempt < 3 && !caught; ++attempt) {
      fs::remove(output);
      const pid_t child = fork();
      if (child == 0) {
        if (chdir(folder.c_str()) != 0 || !freopen("/dev/null", "w", stdout)) _exit(126);
        execl(FERROLUX_BINARY, FERROLUX_BINARY, "--catalog", "CableCatalog.txt", "deembed", "large.s1p", "--cable",
              "9913", "--length", "50", "--s1p", "out.s1p", static_cast<char*>(nullptr));
        _exit(127);
      }
      int status = 0;
      while (waitpid(child, &status, WNOHANG) == 0) {
        if (!WritingBeside(child, output)) continue;
        kill(child, signal);
        caught = true;
        waitpid(child, &status, 0);
        break;
      }
      EXPECT_TRUE(!caught || (WIFSIGNALED(status) && WTERMSIG(status) == signal)) << signal;
    }
    EXPECT_TRUE(caught) << "the write was over before signal " << signal << " could be sent";
    EXPECT_FALSE(fs::exists(output)) << signal;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << signal;  // catalog, sweep
  }
}

}  // namespace
}  // namespace ferrolux::e2e
