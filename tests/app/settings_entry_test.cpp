#include "app/settings_entry.hpp"

#include <gtest/gtest.h>

#include "app/cycle_screen.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"

namespace ferrolux {
namespace {

class SettingsEntryTest : public CycleScreenTest {
 protected:
  // Columns 33 to 117 of a row.
  std::string Area(int row) const { return Text(row, 33, 85); }
};

TEST_F(SettingsEntryTest, ReadsTheFirstNumberOfEachLine) {
  struct Case {
    std::vector<std::string> lines;  // length, power, then SWR answers until one is accepted
    float length, power, swr;
  };
  const Case cases[] = {
      {{"50", "100", "1.5"}, 50, 100, 1.5f},
      {{"", "-10", "7"}, 0, -10, 7},
      {{"12,5", "\"3\"", "1.5:1"}, 12, 3, 1.5f},
      {{"1", "1", "1,5"}, 1, 1, 1},
      {{"1", "1", "0.5"}, 1, 1, 0.5f},
      {{"1", "1", "7.01", "0", "-1", "abc", "", "6.5"}, 1, 1, 6.5f},
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
  try {
    EnterSettings(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(Area(10).substr(0, 44), "      Enter the coaxial cable length in ft: ");
  EXPECT_EQ(Area(10).substr(44, 2), "50");
  EXPECT_EQ(Area(12).substr(0, 47), "            Enter the input power in watts: 100");
  EXPECT_EQ(Screen().At(10, 75).glyph, U':');
  EXPECT_EQ(Screen().At(12, 75).glyph, U':');
  EXPECT_EQ(Area(14).substr(0, 50), "   Please enter the SWR as measured in the shack: ");
  EXPECT_EQ(Area(15).substr(0, 47), "        Enter just the first part, example: 1.5");
  EXPECT_EQ(Area(16).substr(0, 38), "        The maximum you can enter is 7");
  EXPECT_EQ(Screen().cursor, (Position{14, 83}));
  EXPECT_TRUE(Screen().cursorVisible);
}

TEST_F(SettingsEntryTest, EightyTypedDigitsRanOverTheFrame) {
  const std::string zeros(77, '0');
  h.keyboard.Line(zeros + "050").Line(zeros + "100").Line(zeros + "1.5");
  try {
    EnterSettings(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(state.lengthFt, 50);
  EXPECT_EQ(state.powerW, 100);
  EXPECT_EQ(state.shackSwr, 1.5f);
  // Each field ends at column 118, where the cursor stood after the text's tail.
  EXPECT_EQ(Text(10, 77, 43), std::string(38, '0') + "050 ║");
  EXPECT_EQ(Text(12, 77, 43), std::string(38, '0') + "100 ║");
  EXPECT_EQ(Text(14, 83, 37), std::string(32, '0') + "1.5 ║");
  for (int row : {11, 13}) EXPECT_EQ(Text(row, 1, 120), "║" + std::string(117, ' ') + "║ ") << row;
}

TEST_F(SettingsEntryTest, ARefusedSwrComesBackOnAnEmptyRow) {
  h.keyboard.Line("50").Line("100").Line("12345");
  try {
    EnterSettings(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(Area(14), "   Please enter the SWR as measured in the shack: " + std::string(35, ' '));
}

TEST_F(SettingsEntryTest, TheReviseQuestionBeepsAtOtherKeysAndChangesNothing) {
  h.keyboard.Line("50").Line("100").Line("1.5").Key('X');
  try {
    EnterSettings(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(h.terminal.bells, 1);
  EXPECT_EQ(Area(18).substr(0, 51), " Do you want to revise any of these settings? [Y/N]");
  EXPECT_EQ(Area(10).substr(44, 2), "50");
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
  for (int row = 10; row <= 18; ++row) {
    EXPECT_EQ(Area(row), std::string(85, ' ')) << row;
    EXPECT_EQ(Screen().At(row, 33).colors, (Colors{15, 1}));
  }
  EXPECT_EQ(Screen().At(10, 1).glyph, U'║');
  EXPECT_EQ(Screen().At(10, 119).glyph, U'║');
}

}  // namespace
}  // namespace ferrolux
