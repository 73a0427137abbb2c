// `ferrolux calc` against the results screen of the interactive program: the same inputs give
// the same lines, figures, warning and notice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "command_run.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

// Types in descending order on the screen: RG-8X, RG-174, LMR-400.
const std::string kCatalog = kWorkedCable + kLowLossCable +
                             "RG-174\tTest RG-174\t50\t.66\t31\tSteel\tPE\tBraid\tPVC\t.11 in\t1100 V\t1.3\t.55\t.015\t"
                             "A thin lossy cable.\tShort leads.\r\n";

const std::string kDown = "\x1bOB";

struct Case {
  const char* name;
  std::string length, power, swr;
  std::string bandKeys;  // the band menu's key, or F and a frequency
  std::string typeKeys;  // to pick the type in the list
  std::vector<std::string> calcArguments;
  size_t lines;              // figures, warning or notice lines on the screen
  bool commaLocale = false;  // run under a language that writes a decimal comma
};

// A language whose numbers take a decimal comma, built from the system's locale sources into
// the test's folder and set for the program the session starts.
class CommaLocale {
 public:
  explicit CommaLocale(const std::filesystem::path& folder) : folder_(folder / "locales") {
    std::filesystem::create_directories(folder_);
    const std::string build = "localedef -i de_DE -f UTF-8 '" + (folder_ / "de_DE.UTF-8").string() + "' 2>&1";
    built_ = std::system(build.c_str()) == 0;
    setenv("LOCPATH", folder_.c_str(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
  }
  ~CommaLocale() {
    unsetenv("LOCPATH");
    unsetenv("LC_ALL");
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool Built() const { return built_; }

 private:
  std::filesystem::path folder_;
  bool built_ = false;
};

// The screen's lines below the cable block, from column 5, without trailing blanks.
std::vector<std::string> ResultLines(const PtySession& s) {
  std::vector<std::string> lines;
  for (int row = 10; row <= 30; ++row) {
    std::string text;
    for (int column = 5; column <= 117; ++column) text += s.Cell(row, column);
    text.erase(text.find_last_not_of(' ') + 1);
    if (text.rfind("Description:", 0) == 0) break;
    if (!text.empty()) lines.push_back(text);
  }
  return lines;
}

bool HasLineStartingWith(const std::string& output, const std::string& start) {
  for (size_t at = 0; at < output.size(); at = output.find('\n', at) + 1) {
    const std::string line = output.substr(at, output.find('\n', at) - at);
    if (line == start || line.rfind(start + "  ", 0) == 0) return true;
    if (output.find('\n', at) == std::string::npos) break;
  }
  return false;
}

TEST(CalcAgainstTheScreen, TheSameFiguresWarningAndNotice) {
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", kCatalog);
  const Case cases[] = {
      {"figures on a band", "50", "100", "1.5", "B", "r", {"--band", "2m", "--cable", "Test RG-8X"}, 10},
      {"a typed frequency", "100", "1500", "2.2", "F7.1\r", "l", {"--mhz", "7.1", "--cable", "lmr-400"}, 10},
      {"the high-SWR warning", "100", "100", "5.5", "5", "r" + kDown, {"--band", "20m", "--cable", "rg-174"}, 5},
      {"the notice above 6:1", "10", "100", "6.5", "B", "r" + kDown, {"--band", "2m", "--cable", "rg-174"}, 3},
      // The calculator took the language's number format too and read "1.5" as 1, ".66" as 0.
      {"a decimal-comma language", "50", "100", "1.5", "B", "r", {"--band", "2m", "--cable", "Test RG-8X"}, 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<CommaLocale> language;
    if (c.commaLocale) {
      language.emplace(temp.Path());
      ASSERT_TRUE(language->Built()) << "localedef could not build de_DE.UTF-8 (package locales)";
    }
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_TRUE(s.WaitForText("length in ft:"));
    s.Send(c.length + "\r" + c.power + "\r" + c.swr + "\rn");
    ASSERT_TRUE(s.WaitForText("Please select an option"));
    s.Send(c.bandKeys);
    ASSERT_TRUE(s.WaitForText("Select Cable Type"));
    s.Send(c.typeKeys + "\r");
    ASSERT_TRUE(s.WaitForText("Please Make a Selection"));
    s.Send("\r");
    ASSERT_TRUE(s.WaitForText("Description:")) << s.Screen();
    const std::vector<std::string> screen = ResultLines(s);
    s.Send("n");
    EXPECT_EQ(s.WaitForExit(), 0);
    language.reset();

    std::vector<std::string> arguments{"calc", "--length", c.length, "--power", c.power, "--swr", c.swr};
    arguments.insert(arguments.end(), c.calcArguments.begin(), c.calcArguments.end());
    const CommandResult calc = RunCommand(FERROLUX_BINARY, arguments, temp.Path());
    ASSERT_EQ(calc.status, 0) << calc.err;
    ASSERT_EQ(screen.size(), c.lines) << s.Screen();
    for (const std::string& line : screen) EXPECT_TRUE(HasLineStartingWith(calc.out, line)) << line << "\n" << calc.out;
  }
}

}  // namespace
}  // namespace ferrolux::e2e
