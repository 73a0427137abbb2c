// The program on terminals other than the usual xterm-256color.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

const std::string kTitle = "Coaxial Cable Ferrolux By Tolvanik (v1.0a)";
const std::string kSetTitle = "\x1b]2;" + kTitle + "\a";

// The program under another environment: env takes over from the session's own.
PtySession StartWith(const std::vector<std::string>& settings, const ferrolux::testing::TempFolder& temp) {
  std::vector<std::string> arguments = settings;
  arguments.push_back(FERROLUX_BINARY);
  return PtySession("/usr/bin/env", temp.Path(), 120, 43, arguments);
}

PtySession StartAs(const std::string& type, const ferrolux::testing::TempFolder& temp) {
  return StartWith({"TERM=" + type}, temp);
}

class TerminalTypes : public ::testing::Test {
 protected:
  void SetUp() override { temp.Write("CableCatalog.txt", kWorkedCable + kLowLossCable); }
  ferrolux::testing::TempFolder temp;
};

TEST_F(TerminalTypes, EightColoursShowTheFrameAndTheTextInTheirBaseColours) {
  PtySession s = StartAs("xterm", temp);
  ASSERT_TRUE(s.WaitForText("length in ft:")) << s.Screen();
  EXPECT_EQ(s.Colors(1, 1).foreground, 6);  // yellow without the bright bit: brown, made bold
  EXPECT_EQ(s.Colors(1, 1).background, 1);
  EXPECT_EQ(s.Colors(2, 43).foreground, 7);
  s.Send("7");
  ASSERT_TRUE(s.WaitForText("length in ft: 7"));
  EXPECT_EQ(s.Cell(10, 77), "7");
  EXPECT_EQ(s.Colors(10, 77).foreground, 7);
}

// Without colours the bar and the closing question would not show: they are in reverse video.
// vt100's entry also asks for padding ("$<5>"), which must never reach the screen.
TEST_F(TerminalTypes, MonochromeTerminalsShowTheBarAndTheClosingQuestionInReverseVideoAndNoPadding) {
  for (const char* type : {"xterm-mono", "vt100"}) {
    PtySession s = StartAs(type, temp);
    ASSERT_TRUE(s.WaitForText(kLengthPrompt)) << type;
    EXPECT_EQ(s.Cell(1, 1), "╔") << type;
    EXPECT_EQ(s.Screen().find('$'), std::string::npos) << type << "\n" << s.Screen();
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << type << s.Screen();
    EXPECT_TRUE(s.Reverse(8, 48)) << type;  // the selected type
    EXPECT_FALSE(s.Reverse(9, 48)) << type;
    EXPECT_FALSE(s.Reverse(2, 43)) << type;  // the page's own text
    ASSERT_TRUE(ReachClosingQuestion(s)) << type;
    EXPECT_TRUE(s.Reverse(42, 39)) << type;
    s.Send("n");
    EXPECT_EQ(s.WaitForExit(), 0) << type;
    EXPECT_EQ(s.Output().find("$<"), std::string::npos) << type;
  }
}

// Refused at once: one line naming the terminal type and what to do, nothing drawn, the
// terminal's modes as a fresh terminal has them.
TEST_F(TerminalTypes, TerminalsThatCannotPlaceTheCursorAreRefusedLikeAnUnknownType) {
  struct Case {
    std::vector<std::string> settings;
    const char* says;
  };
  const Case cases[] = {
      {{"TERM=dumb"}, "the terminal type \"dumb\" cannot place the cursor"},
      {{"TERM=no-such-terminal"}, "the terminal type \"no-such-terminal\" is not known here"},
      {{"-u", "TERM"}, "TERM is not set"},
  };
  PtySession untouched("/bin/sleep", temp.Path(), 120, 43, {"10"});
  for (const Case& c : cases) {
    PtySession s = StartWith(c.settings, temp);
    EXPECT_EQ(s.WaitForExit(), 1) << c.says;
    const std::string expected = std::string("ferrolux: ") + c.says + ": set TERM to the terminal's real type";
    EXPECT_EQ(s.Output().rfind(expected, 0), 0u) << s.Output();
    EXPECT_EQ(s.Output().find('\x1b'), std::string::npos) << c.says;
    EXPECT_EQ(s.Output().find('\n'), s.Output().size() - 1) << c.says;
    EXPECT_EQ(s.Modes(), untouched.Modes()) << c.says;
  }
}

// A leftover LINES=24 COLUMNS=80 in a 120x43 window: the page and its lists as without it.
TEST_F(TerminalTypes, LinesAndColumnsSmallerThanTheWindowAreIgnored) {
  std::vector<std::string> screens;
  for (const std::vector<std::string>& settings : {std::vector<std::string>{}, {"LINES=24", "COLUMNS=80"}}) {
    PtySession s = StartWith(settings, temp);
    ASSERT_TRUE(s.WaitForText(kLengthPrompt));
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << s.Screen();
    BytesForKeys(s, "\x1bOB");
    screens.push_back(s.Screen());
    EXPECT_EQ(s.Output().find("\x1b[1;24r"), std::string::npos);
  }
  EXPECT_EQ(screens[0], screens[1]);
}

// The title the terminal had is saved before the program sets its own and put back at the end:
// xterm's entries do it as they enter and leave the page, the program itself for the others.
TEST_F(TerminalTypes, TheWindowTitleIsSavedBeforeItIsSetAndRestoredAtTheEnd) {
  struct Case {
    const char* type;
    const char* save;
    const char* restore;
  };
  const Case cases[] = {
      {"xterm-256color", "\x1b[22;0;0t", "\x1b[23;0;0t"},
      {"tmux-256color", "\x1b[22;0t", "\x1b[23;0t"},
      {"screen-256color", "\x1b[22;0t", "\x1b[23;0t"},
      {"rxvt-unicode", "\x1b[22;0t", "\x1b[23;0t"},
      {"linux", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    PtySession s = StartAs(c.type, temp);
    ASSERT_TRUE(s.WaitForText(kLengthPrompt)) << c.type;
    s.Send("\x03");
    EXPECT_EQ(s.WaitForExit(), 130) << c.type;
    const std::string& out = s.Output();
    if (c.save == nullptr) {
      EXPECT_EQ(out.find("\x1b]2;"), std::string::npos) << c.type;
      continue;
    }
    EXPECT_LT(out.find(c.save), out.find(kSetTitle)) << c.type;
    EXPECT_EQ(out.find(c.save, out.find(c.save) + 1), std::string::npos) << c.type;
    EXPECT_GT(out.rfind(c.restore), out.rfind(kSetTitle)) << c.type;
  }
}

// Home and End as screen and the Linux console send them, in a whole calculation.
TEST_F(TerminalTypes, ACalculationOnScreenAndTheLinuxConsole) {
  for (const char* type : {"screen-256color", "linux"}) {
    PtySession s = StartAs(type, temp);
    ASSERT_TRUE(s.WaitForText(kLengthPrompt)) << type;
    EXPECT_EQ(s.Cell(1, 1), "╔") << type;
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << type << s.Screen();
    s.Send("\x1b[4~\x1b[1~\x1b[4~\r");  // End, Home, End: the last type
    ASSERT_TRUE(s.WaitForText(kPartListTitle)) << type;
    s.Send("\r");
    ASSERT_TRUE(s.WaitForText("Cable Type: LMR-400, Test LMR-400")) << type << s.Screen();
    EXPECT_NE(s.Screen().find("Frequency: 28.5 MHz"), std::string::npos) << type;
    s.Send("n");
    EXPECT_EQ(s.WaitForExit(), 0) << type;
    EXPECT_TRUE(s.TerminalModesRestored()) << type;
  }
}

}  // namespace
}  // namespace ferrolux::e2e
