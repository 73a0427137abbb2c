// The real program in a real (emulated) terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;

class ProgramE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  fs::path folder = temp.Path();
  void SetUp() override { temp.Write("CableCatalog.txt", kWorkedCable + kLowLossCable); }
  void EnterSettings(PtySession& s) {
    ASSERT_TRUE(s.WaitForText("length in ft:"));
    s.Send("50\r100\r1.1\rn");
  }
};

TEST_F(ProgramE2eTest, AWholeCalculationFromTheKeyboardToTheRunLines) {
  PtySession s(FERROLUX_BINARY, folder);
  EnterSettings(s);
  ASSERT_TRUE(s.WaitForText("Please select an option"));
  EXPECT_EQ(s.Colors(24, 64).foreground, 14);
  s.Send("f");
  ASSERT_TRUE(s.WaitForText("desired frequency in MHz:"));
  s.Send("100\r");
  ASSERT_TRUE(s.WaitForText("Select Cable Type"));
  s.Send("\x1bOB\x1b[A");  // Down and Up in the type list, in keypad mode and normal mode
  s.Send("r");             // type-ahead picks RG-8X
  s.Send("\r");
  ASSERT_TRUE(s.WaitForText("Please Make a Selection"));
  s.Send("\r");
  ASSERT_TRUE(s.WaitForText("Real SWR: 1.1:1 +-"));
  EXPECT_NE(s.Screen().find("Power Out: 74.06 watts"), std::string::npos) << s.Screen();
  EXPECT_NE(s.Screen().find("Match Loss: 1.3 dB @ 50 ft."), std::string::npos);
  EXPECT_EQ(s.Row(42).substr(0, 3), "╚");
  EXPECT_EQ(s.Cell(42, 39), "[");
  EXPECT_EQ(s.Colors(42, 39).foreground, 15);
  EXPECT_EQ(s.Colors(42, 39).background, 4);
  s.Send("x");  // refused: a bell
  s.Send("y");
  ASSERT_TRUE(s.WaitForText("length in ft:"));
  EXPECT_GE(s.Bells(), 1);
  EnterSettings(s);
  ASSERT_TRUE(s.WaitForText("Please select an option"));
  s.Send("\x1b");
  EXPECT_EQ(s.WaitForExit(), 0);
  EXPECT_TRUE(s.WaitForText("Program Run Start: "));
  EXPECT_NE(s.Screen().find("  Program Run End: "), std::string::npos);
  EXPECT_EQ(s.Screen().find("Transmission Line"), std::string::npos);  // back on the normal screen
  EXPECT_TRUE(s.TerminalModesRestored());
}

TEST_F(ProgramE2eTest, TheFrameDividerAndTitleInTheirColours) {
  PtySession s(FERROLUX_BINARY, folder);
  ASSERT_TRUE(s.WaitForText("length in ft:"));
  EXPECT_EQ(s.Cell(1, 1), "╔");
  EXPECT_EQ(s.Cell(1, 119), "╗");
  EXPECT_EQ(s.Cell(3, 1), "╠");
  EXPECT_EQ(s.Cell(3, 118), "═");
  EXPECT_EQ(s.Cell(3, 119), "╣");
  EXPECT_EQ(s.Cell(42, 119), "╝");
  EXPECT_EQ(s.Cell(2, 43), "T");
  EXPECT_EQ(s.Colors(1, 1).foreground, 14);
  EXPECT_EQ(s.Colors(1, 1).background, 1);
  EXPECT_EQ(s.Colors(2, 43).foreground, 15);
  EXPECT_EQ(s.Colors(2, 43).background, 1);
}

TEST_F(ProgramE2eTest, ATooSmallTerminalShowsANoticeUntilItIsEnlarged) {
  PtySession s(FERROLUX_BINARY, folder, 80, 24);
  ASSERT_TRUE(s.WaitForText("at least 120 columns by 43 rows"));
  s.Resize(120, 43);
  ASSERT_TRUE(s.WaitForText("length in ft:"));
  EXPECT_EQ(s.Cell(1, 1), "╔");
  s.Resize(80, 24);
  ASSERT_TRUE(s.WaitForText("at least 120 columns by 43 rows"));
  s.Resize(120, 43);
  ASSERT_TRUE(s.WaitForText("length in ft:"));
}

TEST(NoTerminal, StandardInputNotATerminalIsRefused) {
  const std::string command = std::string(FERROLUX_BINARY) + " </dev/null 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[256] = {};
  const bool read = fgets(line, sizeof line, pipe) != nullptr;
  const int status = pclose(pipe);
  EXPECT_TRUE(read);
  EXPECT_STREQ(line, "ferrolux: needs an interactive terminal\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST_F(ProgramE2eTest, HelpRefusedFrequencyAndAnEndWithN) {
  PtySession s(FERROLUX_BINARY, folder);
  EnterSettings(s);
  ASSERT_TRUE(s.WaitForText("Please select an option 1 thru F or ?:"));
  for (int column : {64, 71, 76}) EXPECT_EQ(s.Colors(24, column).foreground, 14) << column;
  EXPECT_EQ(s.Colors(24, 66).foreground, 15);  // "thru": a blank would show in any foreground
  s.Send("?");
  ASSERT_TRUE(s.WaitForText("Press any key to return to the menu"));
  s.Send(" ");
  EnterSettings(s);
  ASSERT_TRUE(s.WaitForText("Please select an option"));
  s.Send("F");
  ASSERT_TRUE(s.WaitForText("desired frequency in MHz:"));
  s.Send("470.5\r");
  ASSERT_TRUE(s.WaitForText("Invalid input. Please enter a frequency greater than 0 and less than 471..."));
  s.Send("k");
  // Well within the five seconds the message would stand without a key.
  EXPECT_TRUE(s.WaitForTextGone("Invalid input", std::chrono::seconds(3)));
  s.Send("146,5\r");
  ASSERT_TRUE(s.WaitForText("Select Cable Type"));
  s.Send("l\r");  // type-ahead: LMR-400
  ASSERT_TRUE(s.WaitForText("Please Make a Selection"));
  s.Send("\x1b[B\r");  // Down as a terminal ignoring the keypad mode sends it
  ASSERT_TRUE(s.WaitForText("Cable Type: LMR-400, Test LMR-400"));
  EXPECT_NE(s.Screen().find("Frequency: 146 MHz"), std::string::npos);
  s.Send("n");
  EXPECT_EQ(s.WaitForExit(), 0);
  EXPECT_NE(s.Screen().find("  Program Run End: "), std::string::npos);
  EXPECT_TRUE(s.TerminalModesRestored());
}

}  // namespace
}  // namespace ferrolux::e2e
