#include "app/band_menu.hpp"

#include <string>

#include "app/main_screen.hpp"
#include "app/program_state.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"
#include "console/keys.hpp"
#include "model/bands.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

using std::chrono::milliseconds;

// The menu lines of the bands in model/bands.hpp, in the same order, then the typed frequency.
const char* const kMenuLines[kBandRows - 1] = {
    "1. 160 Meters  (1.8 MHz)", "2.  80 Meters  (3.5 MHz)", "3.  40 Meters  (7   MHz)",    "4.  30 Meters  (10.1 MHz)",
    "5.  20 Meters  (14 MHz)",  "6.  17 Meters  (18 MHz)",  "7.  15 Meters  (21 MHz)",     "8.  12 Meters  (24 MHz)",
    "9.  10 Meters  (28 MHz)",  "A.   6 Meters  (50 MHz)",  "B.   2 Meters  (144 MHz)",    "C. .25 Meters  (219 MHz)",
    "D.  70 cm      (420 MHz)", "E.  GMRS       (460 MHz)", "F. Enter Specific Frequency",
};
static_assert(kBands.size() == kBandRows - 2, "one menu line per band, then the typed frequency");

constexpr int kSpecificFrequency = 15;
constexpr int kMenuColumn = 46, kMenuFirstRow = 6;
constexpr int kEscapeLineRow = 22;
constexpr int kPromptRow = 24, kPromptColumn = 40;
constexpr int kKeyHighlightColumns[] = {64, 71, 76};
const char kHighlightedKeys[] = {'1', 'F', '?'};
const std::string kEscapeLine = "Escape Key to End Program";
const std::string kPrompt = "Please select an option 1 thru F or ?:";
const std::string kMenuKeys = "123456789AaBbCcDdEeFf?\x1b";

constexpr int kFrequencyRow = 20, kFrequencyColumn = 35;
constexpr int kRefusalRow = 22, kRefusalColumn = 22;
constexpr int kEraseColumn = 2, kEraseWidth = 117;
constexpr float kMaxFrequency = 470;
constexpr milliseconds kRefusalHold{5000};
const std::string kFrequencyPrompt = "Please enter the desired frequency in MHz: ";
const std::string kRefusal = "Invalid input. Please enter a frequency greater than 0 and less than 471...";

constexpr int kHelpColumn = 26, kHelpFirstRow = 22, kHelpLastRow = 28;
constexpr int kHelpReturnRow = 28, kHelpReturnColumn = 42, kHelpEraseWidth = 68;
const char* const kHelpLines[] = {
    "This menu allows you to pick what band you want to target or you",
    "can enter a specific frequency.  If you pick a band the program",
    "will use a frequency that is in the middle of the band you selected.",
    "For example if you picked 10 meters the target frequency will be",
    "28.5 MHz.  For 2 meters it will be 146 Mhz, and so on.",
};
const std::string kHelpReturn = "Press any key to return to the menu";

void DrawMenu(Console& console, const ProgramState& state) {
  console.SetColor(kTextColors.foreground, kTextColors.background);
  for (int band = 1; band < kBandRows; ++band) {
    console.Locate(kMenuFirstRow + band - 1, kMenuColumn);
    console.PrintText(state.bands[band][1]);
    console.PrintLineEnd();
  }
  console.Locate(kEscapeLineRow, kMenuColumn);
  console.PrintText(kEscapeLine);
  console.PrintLineEnd();
  console.PrintLineEnd();
  console.Locate(kPromptRow, kPromptColumn);
  console.PrintText(kPrompt);
  console.SetColor(kHighlightedKeyColors.foreground, kHighlightedKeyColors.background);
  for (int i = 0; i < 3; ++i) {
    console.Locate(kPromptRow, kKeyHighlightColumns[i]);
    console.PrintText(std::string(1, kHighlightedKeys[i]));
  }
  console.SetColor(kTextColors.foreground, kTextColors.background);
}

// "1" to "9" stand for themselves, "A" to "F" for 10 to 15.
int BandNumberOf(const std::string& key) {
  if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'F') return key[0] - 'A' + 10;
  return static_cast<int>(ParseNumber(key));
}

void EraseRow(Console& console, int row) {
  console.Locate(row, kEraseColumn);
  console.PrintText(Blanks(kEraseWidth));
}

void EnterFrequency(Console& console, ProgramState& state) {
  while (state.freqMHz <= 0) {
    console.Locate(kFrequencyRow, kFrequencyColumn);
    console.PrintText(kFrequencyPrompt);
    const std::string typed = FirstField(console.InputLine(main_screen::kWorkRight));
    state.freqMHz = static_cast<float>(ParseNumber(typed));
    if (state.freqMHz > 0 && state.freqMHz <= kMaxFrequency) continue;
    state.freqMHz = 0;
    console.Locate(kRefusalRow, kRefusalColumn);
    console.PrintText(kRefusal);
    console.PrintLineEnd();
    console.WaitKey({}, kRefusalHold);
    EraseRow(console, kFrequencyRow);
    EraseRow(console, kRefusalRow);
  }
}

}  // namespace

void FillBandTable(ProgramState& state) {
  for (int band = 1; band < kBandRows; ++band) {
    state.bands[band][1] = kMenuLines[band - 1];
    if (band <= static_cast<int>(kBands.size())) state.bands[band][2] = kBands[band - 1].centreMHz;
  }
}

void ShowBandHelp(Console& console) {
  int row = kHelpFirstRow;
  for (const char* line : kHelpLines) {
    console.Locate(row++, kHelpColumn);
    console.PrintText(line);
    console.PrintLineEnd();
  }
  console.Locate(kHelpReturnRow, kHelpReturnColumn);
  console.PrintText(kHelpReturn);
  console.PrintLineEnd();
  console.WaitKey();
  for (row = kHelpFirstRow; row <= kHelpLastRow; ++row) {
    console.Locate(row, kHelpColumn);
    console.PrintText(Blanks(kHelpEraseWidth));
  }
}

BandOutcome ChooseBand(Console& console, ProgramState& state) {
  DrawMenu(console, state);
  state.bandNumber = 0;
  state.freqMHz = 0;
  const std::string key = UpperCase(console.WaitKey(kMenuKeys));
  if (key == "?") {
    ShowBandHelp(console);
    return BandOutcome::kHelp;
  }
  if (key == keys::kEscape.Text()) return BandOutcome::kEnd;
  state.bandNumber = BandNumberOf(key);
  ClearWorkArea(console);
  if (state.bandNumber != kSpecificFrequency) {
    state.freqMHz = static_cast<float>(ParseNumber(state.bands[state.bandNumber][2]));
  } else {
    EnterFrequency(console, state);
  }
  return BandOutcome::kChosen;
}

}  // namespace ferrolux
