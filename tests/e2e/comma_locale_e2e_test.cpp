// The calculator under a language whose numbers take a decimal comma: it still reads and writes
// a decimal point.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

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

// The calculator took the language's number format too and read "1.5" as 1, ".78" as 0.
TEST(CommaLocaleE2e, TheResultsScreenReadsAndWritesDecimalPoints) {
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", kWorkedCable);
  CommaLocale language(temp.Path());
  ASSERT_TRUE(language.Built()) << "localedef could not build de_DE.UTF-8 (package locales)";
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_TRUE(s.WaitForText("length in ft:"));
  s.Send("50\r100\r1.5\rn");
  ASSERT_TRUE(s.WaitForText("Please select an option"));
  s.Send("B");
  ASSERT_TRUE(s.WaitForText("Select Cable Type"));
  s.Send("\r");
  ASSERT_TRUE(s.WaitForText("Please Make a Selection"));
  s.Send("\r");
  ASSERT_TRUE(s.WaitForText("Description:")) << s.Screen();
  const std::vector<std::string> expected = {
      "       Frequency: 146 MHz",     " STD. Match Loss: 3.063 dB 100 ft.", "      Match Loss: 1.531 dB @ 50 ft.",
      " Loss due to SWR: .27 dB",      "      Total Loss: 1.8 dB",           "        Power In: 100 watts",
      "       Power Out: 66.05 watts", "      Power Loss: 33.95%",           "    Apparent swr: 1.5:1",
      "        Real SWR: 2.01:1 +-"};
  EXPECT_EQ(ResultLines(s), expected) << s.Screen();
  s.Send("n");
  EXPECT_EQ(s.WaitForExit(), 0);
}

}  // namespace
}  // namespace ferrolux::e2e
