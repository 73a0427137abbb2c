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
  if (!fs::exists(kValgrind)) GTEST_SKIP() << "valgrind is not installed";
  ferrolux::testing::TempFolder temp;
  fs::copy_file(fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt", temp.Path() / "CableCatalog.txt");
  const fs::path log = temp.Path() / "memcheck.log";
  PtySession s(kValgrind, temp.Path(), 120, 43,
               {"--error-exitcode=" + std::to_string(kValgrindFound), "--leak-check=full",
                "--errors-for-leak-kinds=definite,indirect,possible", "--log-file=" + log.string(), FERROLUX_BINARY});
  ASSERT_TRUE(s.WaitForText("length in ft:", seconds(30)));
  s.Send("50\r100\r1.5\rn9");
  ASSERT_TRUE(s.WaitForText("Select Cable Type", seconds(20)));
  s.Send("\x1bOB\r");
  ASSERT_TRUE(s.WaitForText("Please Make a Selection", seconds(20)));
  s.Send("\r");
  ASSERT_TRUE(s.WaitForText("Would you like to do another?", seconds(20)));
  s.Send("y");
  ASSERT_TRUE(s.WaitForText("length in ft:", seconds(20)));
  s.Send("100\r1500\r3\rnF");
  ASSERT_TRUE(s.WaitForText("desired frequency in MHz:", seconds(20)));
  s.Send("471\r");
  ASSERT_TRUE(s.WaitForText("Invalid input.", seconds(20)));
  s.Send("k");
  ASSERT_TRUE(s.WaitForTextGone("Invalid input.", seconds(20)));
  s.Send("146\r");
  ASSERT_TRUE(s.WaitForText("Select Cable Type", seconds(20)));
  s.Send("\r\r");
  ASSERT_TRUE(s.WaitForText("Would you like to do another?", seconds(20)));
  s.Send("n");
  EXPECT_EQ(s.WaitForExit(seconds(30)), 0) << ferrolux::testing::FileText(log);
  const std::string report = ferrolux::testing::FileText(log);
  EXPECT_NE(report.find("HEAP SUMMARY"), std::string::npos) << report;  // memcheck did run
  EXPECT_NE(report.find("ERROR SUMMARY: 0 errors"), std::string::npos) << report;  // leaks count as errors
}

}  // namespace
}  // namespace ferrolux::e2e
