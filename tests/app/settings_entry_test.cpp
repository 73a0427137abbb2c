#include "app/settings_entry.hpp"

#include <gtest/gtest.h>

#include "app/cycle_screen.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"

namespace ferrolux {
namespace {

using testing::Picture;

class SettingsEntryTest : public CycleScreenTest {};

TEST_F(SettingsEntryTest, ReadsTheFirstNumberOfEachLine) {
  struct Case {
    std::vector<std::string> lines;  // length, power, then SWR answers until one is accepted
    float length, power, swr;
  };
  const Case cases[] = {
      {{"50", "100", "1.5"}, 50, 100, 1.5f},     {{"", "-10", "7"}, 0, -10, 7},
      {{"12,5", "\"3\"", "1.5:1"}, 12, 3, 1.5f}, {{"1", "1", "1,5"}, 1, 1, 1},
      {{"1", "1", "0.5"}, 1, 1, 0.5f},           {{"1", "1", "7.01", "0", "-1", "abc", "", "6.5"}, 1, 1, 6.5f},
  };
  for (const Case& c : cases) {
    HeadlessConsole local;
    local.console.UsePage(1);
    ProgramState s;
    for (const std::string& line : c.lines) local.keyboard.Line(line);
    local.keyboard.Key('n');
    EnterSettings(local.console, s);
    EXPECT_EQ(s.lengthFt, c.length) << c.lines[0];
    EXPECT_EQ(s.powerW, c.power) << c.lines[1];
    EXPECT_EQ(s.shackSwr, c.swr) << c.lines.back();
    EXPECT_EQ(local.keyboard.Pending(), 0u);
  }
}

TEST_F(SettingsEntryTest, PromptsAndHintsStandAtTheirRowsBeforeTheSwrIsAsked) {
  h.keyboard.Line("50").Line("100");
  UntilKeysRunOut([&] { EnterSettings(h.console, state); });
  EXPECT_EQ(Picture(Screen(), {10, 33, 16, 118}), R"(
      Enter the coaxial cable length in ft: 50

            Enter the input power in watts: 100

   Please enter the SWR as measured in the shack:
        Enter just the first part, example: 1.5
        The maximum you can enter is 7)");
  EXPECT_EQ(Screen().cursor, (Position{14, 83}));
  EXPECT_TRUE(Screen().cursorVisible);
}

TEST_F(SettingsEntryTest, EightyTypedDigitsRanOverTheFrame) {
  const std::string zeros(77, '0');
  h.keyboard.Line(zeros + "050").Line(zeros + "100").Line(zeros + "1.5");
  UntilKeysRunOut([&] { EnterSettings(h.console, state); });
  EXPECT_EQ(state.lengthFt, 50);
  EXPECT_EQ(state.powerW, 100);
  EXPECT_EQ(state.shackSwr, 1.5f);
  // Each field ends at column 118, where the cursor stood after the text's tail.
  EXPECT_EQ(Text(10, 77, 43), std::string(38, '0') + "050 ║");
  EXPECT_EQ(Text(12, 77, 43), std::string(38, '0') + "100 ║");
  EXPECT_EQ(Text(14, 83, 37), std::string(32, '0') + "1.5 ║");
  for (int row : {11, 13}) EXPECT_EQ(Text(row, 1, 120), "║" + std::string(117, ' ') + "║") << row;
}

TEST_F(SettingsEntryTest, ARefusedSwrComesBackOnAnEmptyRow) {
  h.keyboard.Line("50").Line("100").Line("12345");
  UntilKeysRunOut([&] { EnterSettings(h.console, state); });
  EXPECT_EQ(Text(14, 33, 85), "   Please enter the SWR as measured in the shack:");
}

TEST_F(SettingsEntryTest, TheReviseQuestionBeepsAtOtherKeysAndChangesNothing) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('X');
  UntilKeysRunOut([&] { EnterSettings(h.console, state); });
  EXPECT_EQ(h.terminal.bells, 1);
  EXPECT_EQ(Text(18, 33, 85), " Do you want to revise any of these settings? [Y/N]");
  EXPECT_EQ(Text(10, 77, 41), "50");
}

TEST_F(SettingsEntryTest, YesAndEscapeAskAllThreeAgainWithoutDefaults) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('y');
  h.keyboard.Line("60").Line("200").Line("2").Key(keys::kEscape);
  h.keyboard.Line("70").Line("300").Line("3").Key('N');
  EnterSettings(h.console, state);
  EXPECT_EQ(state.lengthFt, 70);
  EXPECT_EQ(state.powerW, 300);
  EXPECT_EQ(state.shackSwr, 3);
  EXPECT_EQ(h.keyboard.Pending(), 0u);
}

TEST_F(SettingsEntryTest, RowsTenToEighteenAreBlankAfterTheAnswer) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('n');
  EnterSettings(h.console, state);
  EXPECT_EQ(Picture(Screen(), {10, 2, 18, 118}), std::string(9, '\n'));
  EXPECT_EQ(testing::Colours(Screen(), {{'t', {15, 1}}}, {10, 2, 18, 118}), "\nt\nt\nt\nt\nt\nt\nt\nt\nt");
  EXPECT_EQ(Text(10, 1, 120), "║" + std::string(117, ' ') + "║");
}

}  // namespace
}  // namespace ferrolux
