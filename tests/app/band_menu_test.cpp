#include "app/band_menu.hpp"

#include <gtest/gtest.h>

#include "app/cycle_screen.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {
namespace {

using std::chrono::milliseconds;
using testing::Colours;
using testing::Picture;

const testing::Legend kLegend = {{'t', {15, 1}}, {'f', {14, 1}}};

// A menu of its own for each case of a table.
struct FreshMenu {
  HeadlessConsole h;
  ProgramState state;
  FreshMenu() {
    h.console.UsePage(1);
    FillBandTable(state);
  }
};

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

// A key, or F and a typed line, chooses a band; a frequency typed in range is band 15.
TEST(BandMenu, KeysAndTypedFrequenciesChooseTheirBandAndFrequency) {
  struct Case {
    std::string typed;
    int band;
    float frequency;
  };
  const Case cases[] = {
      {"1", 1, 1.9f},        {"9", 9, 28.5f},      {"a", 10, 50.2f},    {"A", 10, 50.2f},          {"B", 11, 146},
      {"c", 12, 222},        {"D", 13, 430},       {"e", 14, 465},      {"8", 8, 24.94f},          {"2", 2, 3.75f},
      {"f146,5\r", 15, 146}, {"f0.1\r", 15, 0.1f}, {"f470\r", 15, 470}, {"f 7.1 MHz\r", 15, 7.1f},
  };
  for (const Case& c : cases) {
    FreshMenu m;
    m.h.keyboard.Type(c.typed);
    EXPECT_EQ(ChooseBand(m.h.console, m.state), BandOutcome::kChosen) << c.typed;
    EXPECT_EQ(m.state.bandNumber, c.band) << c.typed;
    EXPECT_EQ(m.state.freqMHz, c.frequency) << c.typed;
    EXPECT_EQ(m.h.terminal.bells, 0) << c.typed;
  }
}

TEST_F(BandMenuTest, OtherKeysOnlyBeep) {
  h.keyboard.Keys({'0', 'G', 'g', keys::kUp, keys::Function(1), '\r', '3'});
  EXPECT_EQ(Choose(), BandOutcome::kChosen);
  EXPECT_EQ(h.terminal.bells, 6);
  EXPECT_EQ(state.freqMHz, 7.2f);
}

TEST_F(BandMenuTest, MenuLinesPromptAndYellowKeys) {
  h.keyboard.Key('\x1b');
  EXPECT_EQ(Choose(), BandOutcome::kEnd);
  EXPECT_EQ(Picture(Screen(), {6, 40, 24, 118}), R"(
      1. 160 Meters  (1.8 MHz)
      2.  80 Meters  (3.5 MHz)
      3.  40 Meters  (7   MHz)
      4.  30 Meters  (10.1 MHz)
      5.  20 Meters  (14 MHz)
      6.  17 Meters  (18 MHz)
      7.  15 Meters  (21 MHz)
      8.  12 Meters  (24 MHz)
      9.  10 Meters  (28 MHz)
      A.   6 Meters  (50 MHz)
      B.   2 Meters  (144 MHz)
      C. .25 Meters  (219 MHz)
      D.  70 cm      (420 MHz)
      E.  GMRS       (460 MHz)
      F. Enter Specific Frequency

      Escape Key to End Program

Please select an option 1 thru F or ?:)");
  // The keys 1, F and ? in yellow.
  EXPECT_EQ(Colours(Screen(), kLegend, {24, 40, 24, 118}), "\nttttttttttttttttttttttttfttttttfttttft");
}

TEST_F(BandMenuTest, HelpShowsItsTextWaitsAndErasesIt) {
  h.keyboard.Key('?');
  UntilKeysRunOut([&] { ChooseBand(h.console, state); });
  EXPECT_EQ(Picture(Screen(), {22, 26, 28, 118}), R"(
This menu allows you to pick what band you want to target or you
can enter a specific frequency.  If you pick a band the program
will use a frequency that is in the middle of the band you selected.
For example if you picked 10 meters the target frequency will be
28.5 MHz.  For 2 meters it will be 146 Mhz, and so on.

                Press any key to return to the menu)");
}

TEST_F(BandMenuTest, HelpEndsWithTheHelpOutcomeAndBlankRows) {
  h.keyboard.Keys({'?', 'z'});
  EXPECT_EQ(Choose(), BandOutcome::kHelp);
  EXPECT_EQ(Picture(Screen(), {22, 26, 28, 93}), std::string(7, '\n'));
}

TEST_F(BandMenuTest, ALongTypedFrequencyRanOverTheFrame) {
  h.keyboard.Key('f').Line(std::string(78, '0') + "100");
  EXPECT_EQ(Choose(), BandOutcome::kChosen);
  EXPECT_EQ(state.freqMHz, 100);
  EXPECT_EQ(Text(20, 78, 42), std::string(37, '0') + "100 ║");
  EXPECT_EQ(Text(21, 1, 120), "║" + std::string(117, ' ') + "║");
}

TEST(BandMenu, RefusedFrequenciesShowTheMessageUntilAKey) {
  for (const std::string typed : {"471", "470.5", "0", "-5", "abc"}) {
    FreshMenu m;
    m.h.keyboard.Key('F').Line(typed).Pause(milliseconds{1200}).Key('k').Line("50");
    EXPECT_EQ(ChooseBand(m.h.console, m.state), BandOutcome::kChosen);
    EXPECT_EQ(m.state.freqMHz, 50) << typed;
    EXPECT_EQ(m.h.clock.elapsed, milliseconds{1200}) << typed;
  }
}

TEST_F(BandMenuTest, TheRefusalLastsFiveSecondsWithoutAKeyThenRowsAreCleared) {
  h.keyboard.Key('F').Line("999").Pause(milliseconds{9000});
  UntilKeysRunOut([&] { ChooseBand(h.console, state); });
  EXPECT_EQ(h.clock.elapsed, milliseconds{9000});  // the 5 s wait, then the prompt waited on
  EXPECT_EQ(Picture(Screen(), {20, 2, 22, 118}), R"(
                                 Please enter the desired frequency in MHz:

)");
}

TEST_F(BandMenuTest, TheRefusalMessageStandsWhileItWaits) {
  h.keyboard.Key('F').Line("999");
  UntilKeysRunOut([&] { ChooseBand(h.console, state); });
  EXPECT_EQ(Picture(Screen(), {20, 2, 22, 118}), R"(
                                 Please enter the desired frequency in MHz: 999

                    Invalid input. Please enter a frequency greater than 0 and less than 471...)");
}

}  // namespace
}  // namespace ferrolux
