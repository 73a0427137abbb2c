// A whole scripted session under valgrind's memcheck: two calculations on the shipped catalog,
// a refused frequency and the ending. Any invalid access or lost block fails it.
#include <gtest/gtest.h>

#include <filesystem>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

constexpr char kValgrind[] = "/usr/bin/valgrind";
constexpr int kValgrindFound = 99;

TEST(LeakCheck, AWholeSessionUnderMemcheckLeaksNothing) {
#ifdef FERROLUX_SANITIZED
  GTEST_SKIP() << "LeakSanitizer watches every run of the sanitized build";
#endif
#ifdef FERROLUX_EMULATOR
  GTEST_SKIP() << "valgrind cannot run a program built for another processor under its emulator";
#endif
  if (!fs::exists(kValgrind)) GTEST_SKIP() << "valgrind is not installed";
  ferrolux::testing::TempFolder temp;
  fs::copy_file(fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt", temp.Path() / "CableCatalog.txt");
  const fs::path log = temp.Path() / "memcheck.log";
  PtySession s(kValgrind, temp.Path(), 120, 43,
               {"--error-exitcode=" + std::to_string(kValgrindFound), "--leak-check=full",
                "--errors-for-leak-kinds=definite,indirect,possible", "--log-file=" + log.string(), FERROLUX_BINARY});
  ASSERT_TRUE(s.WaitForText("length in ft:", seconds(30)));
  // Two whole cycles: by band and by a frequency typed after a refused one.
  struct Step {
    const char* keys;
    const char* shows;
    bool gone = false;
  };
  const Step steps[] = {
      {"50\r100\r1.5\rn9", "Select Cable Type"},
      {"\x1bOB\r", "Please Make a Selection"},
      {"\r", "Would you like to do another?"},
      {"y", "length in ft:"},
      {"100\r1500\r3\rnF", "desired frequency in MHz:"},
      {"471\r", "Invalid input."},
      {"k", "Invalid input.", true},
      {"146\r", "Select Cable Type"},
      {"\r\r", "Would you like to do another?"},
  };
  for (const Step& step : steps) {
    s.Send(step.keys);
    ASSERT_TRUE(step.gone ? s.WaitForTextGone(step.shows, seconds(20)) : s.WaitForText(step.shows, seconds(20)))
        << ::testing::PrintToString(step.keys) << "\n"
        << s.Screen();
  }
  s.Send("n");
  EXPECT_EQ(s.WaitForExit(seconds(30)), 0) << ferrolux::testing::FileText(log);
  const std::string report = ferrolux::testing::FileText(log);
  EXPECT_NE(report.find("HEAP SUMMARY"), std::string::npos) << report;             // memcheck did run
  EXPECT_NE(report.find("ERROR SUMMARY: 0 errors"), std::string::npos) << report;  // leaks count as errors
}

}  // namespace
}  // namespace ferrolux::e2e
