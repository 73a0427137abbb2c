#include "app/band_menu.hpp"

#include <gtest/gtest.h>

#include "app/cycle_screen.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"

namespace ferrolux {
namespace {

using std::chrono::milliseconds;

class BandMenuTest : public CycleScreenTest {
 protected:
  BandOutcome Choose() {
    try {
      return ChooseBand(h.console, state);
    } catch (const ScriptExhausted&) {
      ADD_FAILURE() << "the menu wanted more keys";
      return BandOutcome::kEnd;
    }
  }
};

TEST_F(BandMenuTest, KeysChooseTheirBandsFrequency) {
  struct Case {
    std::string key;
    int band;
    float frequency;
  };
  const Case cases[] = {
      {"1", 1, 1.9f},   {"9", 9, 28.5f}, {"a", 10, 50.2f}, {"A", 10, 50.2f}, {"B", 11, 146},
      {"c", 12, 222},   {"D", 13, 430},  {"e", 14, 465},   {"8", 8, 24.94f}, {"2", 2, 3.75f},
  };
  for (const Case& c : cases) {
    HeadlessConsole local;
    local.console.UsePage(1);
    ProgramState s;
    FillBandTable(s);
    local.keyboard.Key(c.key);
    EXPECT_EQ(ChooseBand(local.console, s), BandOutcome::kChosen) << c.key;
    EXPECT_EQ(s.bandNumber, c.band) << c.key;
    EXPECT_EQ(s.freqMHz, c.frequency) << c.key;
  }
}

TEST_F(BandMenuTest, OtherKeysOnlyBeep) {
  h.keyboard.Keys({"0", "G", "g", keys::kUp, keys::Function(1), "\r", "3"});
  EXPECT_EQ(Choose(), BandOutcome::kChosen);
  EXPECT_EQ(h.terminal.bells, 6);
  EXPECT_EQ(state.freqMHz, 7.2f);
}

TEST_F(BandMenuTest, MenuLinesPromptAndYellowKeys) {
  h.keyboard.Key("\x1b");
  EXPECT_EQ(Choose(), BandOutcome::kEnd);
  EXPECT_EQ(Text(6, 46, 24), "1. 160 Meters  (1.8 MHz)");
  EXPECT_EQ(Text(15, 46, 25), "A.   6 Meters  (50 MHz)  ");
  EXPECT_EQ(Text(20, 46, 27), "F. Enter Specific Frequency");
  EXPECT_EQ(Text(22, 46, 25), "Escape Key to End Program");
  EXPECT_EQ(Text(24, 40, 38), "Please select an option 1 thru F or ?:");
  for (int column = 40; column < 78; ++column) {
    const bool key = column == 64 || column == 71 || column == 76;
    EXPECT_EQ(Screen().At(24, column).colors, (Colors{static_cast<std::uint8_t>(key ? 14 : 15), 1})) << column;
  }
}

TEST_F(BandMenuTest, HelpShowsItsTextWaitsAndErasesIt) {
  h.keyboard.Key("?");
  try {
    ChooseBand(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(Text(22, 26, 64), "This menu allows you to pick what band you want to target or you");
  EXPECT_EQ(Text(26, 26, 54), "28.5 MHz.  For 2 meters it will be 146 Mhz, and so on.");
  EXPECT_EQ(Text(28, 42, 35), "Press any key to return to the menu");
}

TEST_F(BandMenuTest, HelpEndsWithTheHelpOutcomeAndBlankRows) {
  h.keyboard.Keys({"?", "z"});
  EXPECT_EQ(Choose(), BandOutcome::kHelp);
  for (int row = 22; row <= 28; ++row) EXPECT_EQ(Text(row, 26, 68), std::string(68, ' ')) << row;
}

TEST_F(BandMenuTest, TypedFrequenciesInRangeAreTaken) {
  struct Case {
    std::string typed;
    float frequency;
  };
  const Case cases[] = {{"146,5", 146}, {"0.1", 0.1f}, {"470", 470}, {" 7.1 MHz", 7.1f}};
  for (const Case& c : cases) {
    HeadlessConsole local;
    local.console.UsePage(1);
    ProgramState s;
    FillBandTable(s);
    local.keyboard.Key("f").Line(c.typed);
    EXPECT_EQ(ChooseBand(local.console, s), BandOutcome::kChosen);
    EXPECT_EQ(s.bandNumber, 15);
    EXPECT_EQ(s.freqMHz, c.frequency) << c.typed;
    EXPECT_EQ(local.terminal.bells, 0);
  }
}

TEST_F(BandMenuTest, ALongTypedFrequencyRanOverTheFrame) {
  h.keyboard.Key("f").Line(std::string(78, '0') + "100");
  EXPECT_EQ(Choose(), BandOutcome::kChosen);
  EXPECT_EQ(state.freqMHz, 100);
  EXPECT_EQ(Text(20, 78, 42), std::string(37, '0') + "100 ║");
  EXPECT_EQ(Text(21, 1, 120), "║" + std::string(117, ' ') + "║ ");
}

TEST_F(BandMenuTest, RefusedFrequenciesShowTheMessageUntilAKey) {
  for (const std::string typed : {"471", "470.5", "0", "-5", "abc"}) {
    HeadlessConsole local;
    local.console.UsePage(1);
    ProgramState s;
    FillBandTable(s);
    local.keyboard.Key("F").Line(typed).Pause(milliseconds{1200}).Key("k").Line("50");
    EXPECT_EQ(ChooseBand(local.console, s), BandOutcome::kChosen);
    EXPECT_EQ(s.freqMHz, 50) << typed;
    EXPECT_EQ(local.clock.elapsed, milliseconds{1200}) << typed;
  }
}

TEST_F(BandMenuTest, TheRefusalLastsFiveSecondsWithoutAKeyThenRowsAreCleared) {
  h.keyboard.Key("F").Line("999").Pause(milliseconds{9000});
  try {
    ChooseBand(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(h.clock.elapsed, milliseconds{9000});  // the 5 s wait, then the prompt waited on
  EXPECT_EQ(Text(22, 2, 117), std::string(117, ' '));
  EXPECT_EQ(Text(20, 2, 33), std::string(33, ' '));
  EXPECT_EQ(Text(20, 35, 43), "Please enter the desired frequency in MHz: ");
  EXPECT_EQ(Text(20, 78, 3), "   ");
}

TEST_F(BandMenuTest, TheRefusalMessageStandsWhileItWaits) {
  h.keyboard.Key("F").Line("999");
  try {
    ChooseBand(h.console, state);
  } catch (const ScriptExhausted&) {
  }
  EXPECT_EQ(Text(22, 22, 75), "Invalid input. Please enter a frequency greater than 0 and less than 471...");
  EXPECT_EQ(Text(20, 35, 46), "Please enter the desired frequency in MHz: 999");
}

}  // namespace
}  // namespace ferrolux
