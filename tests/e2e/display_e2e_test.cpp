// What the screens allowed to spoil them, through the real binary: long typed lines, long
// catalog types, figures that overflow, and a catalog locked with a record lock.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

class DisplayE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  void SetUp() override { temp.Write("CableCatalog.txt", Record("RG-8X", "Test RG-8X")); }

  // Both sides of the frame on every row between its top and bottom lines.
  static void ExpectFrameSides(const PtySession& s, const std::string& where) {
    for (int row = 4; row <= 41; ++row) {
      ASSERT_EQ(s.Cell(row, 1), "║") << where << ", row " << row << "\n" << s.Screen();
      ASSERT_EQ(s.Cell(row, 119), "║") << where << ", row " << row << "\n" << s.Screen();
      ASSERT_EQ(s.Cell(row, 120), " ") << where << ", row " << row << "\n" << s.Screen();
    }
  }
  // `count` cells of a row from `column` on, as UTF-8.
  static std::string Cells(const PtySession& s, int row, int column, int count) {
    std::string text;
    for (int c = column; c < column + count; ++c) text += s.Cell(row, c);
    return text;
  }
  // Length, power and SWR as typed, then the frequency of 10 m, then the first type and part.
  static void Calculate(PtySession& s, const std::string& length, const std::string& swr) {
    ASSERT_TRUE(s.WaitForText("length in ft:"));
    s.Send(length + "\r100\r" + swr + "\rn9");
    ASSERT_TRUE(s.WaitForText("Select Cable Type"));
    s.Send("\r");
    ASSERT_TRUE(s.WaitForText("Please Make a Selection"));
    s.Send("\r");
    ASSERT_TRUE(s.WaitForText("Would you like to do another?"));
  }
};

TEST_F(DisplayE2eTest, LongTypedLinesRanOverTheFrame) {
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_TRUE(s.WaitForText("length in ft:"));
  const std::string zeros(78, '0');
  s.Send(zeros + "509\x7f");  // 81 characters, the last one taken back
  ASSERT_TRUE(s.PumpUntil([&] { return Cells(s, 10, 77, 43) == std::string(38, '0') + "050 ║"; }, seconds(5)))
      << s.Screen();
  ExpectFrameSides(s, "length typed");
  s.Send("\r100\r" + zeros + "1.1\rnf");
  ASSERT_TRUE(s.WaitForText("desired frequency in MHz:"));
  s.Send(zeros + "100");
  ASSERT_TRUE(s.PumpUntil([&] { return Cells(s, 20, 78, 42) == std::string(37, '0') + "100 ║"; }, seconds(5)))
      << s.Screen();
  ExpectFrameSides(s, "frequency typed");
  s.Send("\r\r\r");
  ASSERT_TRUE(s.WaitForText("Real SWR: 1.1:1 +-")) << s.Screen();
  // Worked out from the whole lines, the zeros scrolled out of sight included.
  EXPECT_NE(s.Screen().find("Frequency: 100 MHz"), std::string::npos) << s.Screen();
  EXPECT_NE(s.Screen().find("Match Loss: 1.3 dB @ 50 ft."), std::string::npos) << s.Screen();
  ExpectFrameSides(s, "results");
}

TEST_F(DisplayE2eTest, ALongTypeBrokeTheFramesOrBlankedTheList) {
  for (const size_t length : {72u, 8000u}) {  // the longest still fits a catalog line
    const std::string type(length, 'T');
    temp.Write("CableCatalog.txt", Record(type, "Part 1"));
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_TRUE(s.WaitForText("length in ft:"));
    s.Send("50\r100\r1.1\rn9");
    ASSERT_TRUE(s.WaitForText("Select Cable Type")) << length;
    EXPECT_EQ(s.Cell(5, 119), "┐") << length;
    EXPECT_EQ(s.Cell(39, 119), "┘") << length;
    EXPECT_EQ(Cells(s, 8, 46, 75), "│ " + type.substr(0, 71) + "│ ") << length;
    EXPECT_EQ(s.Cell(4, 119), "║") << length;
    EXPECT_EQ(s.Cell(40, 119), "║") << length;
    s.Send("\r");
    ASSERT_TRUE(s.WaitForText("Please Make a Selection")) << length;
    ExpectFrameSides(s, "the part list after a type of " + std::to_string(length));
    s.Send("\rn");
    EXPECT_EQ(s.WaitForExit(), 0) << length;
  }
}

TEST_F(DisplayE2eTest, FiguresThatOverflowAllReadOverflow) {
  struct Case {
    const char* length;
    const char* matchLoss;
    const char* realSwr;
  };
  const Case cases[] = {
      {"-1e39", "Match Loss: -inf dB @-inf ft.", "Real SWR: -inf:1 +-"},
      {"1e39", "Match Loss: inf dB @ inf ft.", "Real SWR: nan:1 +-"},
  };
  for (const Case& c : cases) {
    PtySession s(FERROLUX_BINARY, temp.Path());
    Calculate(s, c.length, "1.5");
    EXPECT_NE(s.Screen().find(c.matchLoss), std::string::npos) << c.length << "\n" << s.Screen();
    EXPECT_NE(s.Screen().find(c.realSwr), std::string::npos) << c.length << "\n" << s.Screen();
    ExpectFrameSides(s, c.length);
    s.Send("n");
    EXPECT_EQ(s.WaitForExit(), 0);
  }
}

TEST_F(DisplayE2eTest, ACatalogUnderALockfLockWasRead) {
  const fs::path file = temp.Path() / "CableCatalog.txt";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    const int descriptor = open(file.c_str(), O_RDWR);
    const char locked = lockf(descriptor, F_TLOCK, 0) == 0 ? 'y' : 'n';
    if (write(ready[1], &locked, 1) == 1) pause();
    _exit(0);
  }
  char locked = 'n';
  ASSERT_EQ(read(ready[0], &locked, 1), 1);
  close(ready[0]);
  close(ready[1]);
  {
    PtySession s(FERROLUX_BINARY, temp.Path());
    EXPECT_TRUE(s.WaitForText("Error: [70] Permission denied")) << s.Screen();
    s.Send("k");
    EXPECT_EQ(s.WaitForExit(), 0);
    EXPECT_NE(s.Screen().find("Program Run Start: "), std::string::npos);
    EXPECT_TRUE(s.TerminalModesRestored());
  }
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(locked, 'y');
}

}  // namespace
}  // namespace ferrolux::e2e
