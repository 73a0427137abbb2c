#include "app/program.hpp"

#include <exception>

#include "app/band_menu.hpp"
#include "app/console_overflow_reporter.hpp"
#include "app/ending.hpp"
#include "app/main_screen.hpp"
#include "app/program_state.hpp"
#include "app/results_screen.hpp"
#include "app/settings_entry.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

const std::string kLoadingMessage = "Loading Catalog";
constexpr int kHangUpSignal = 1;
const std::string kEmptyCatalogMessage = "CableCatalog.txt holds no cables";

// Start-up up to the loaded catalog; false when the run must go straight to the ending.
bool LoadEverything(Console& console, ProgramState& state, const std::filesystem::path& file) {
  state.runStartStamp = console.DateText() + "  " + console.TimeText();
  FillBandTable(state);
  console.PrintText(kLoadingMessage);
  console.PrintLineEnd();
  ConsoleOverflowReporter reporter(console);
  LoadCatalog(state.catalog, reporter, state.errorMessage, file);
  if (!state.errorMessage.empty()) return false;
  state.recordCount = RecordCount(state.catalog);
  // Pick lists with nothing to choose would hand back a record that does not exist.
  if (state.recordCount == 0) state.errorMessage = kEmptyCatalogMessage;
  return state.errorMessage.empty();
}

void TakeOwnScreen(Console& console) {
  console.UsePage(1);
  console.SetTitle(main_screen::kWindowTitle);
  console.SetScreenSize(kScreenColumns, kScreenRows);
  console.SetColor(kTextColors.foreground, kTextColors.background);
  console.HideCursor();
}

// One cycle; false when the run is to end.
bool RunCycle(Console& console, ProgramState& state) {
  DrawMainScreen(console);
  EnterSettings(console, state);
  switch (ChooseBand(console, state)) {
    case BandOutcome::kHelp: return true;
    case BandOutcome::kEnd: return false;
    case BandOutcome::kChosen: break;
  }
  ClearWorkArea(console);
  CycleLists lists;
  ChooseCableAndShowResults(console, state, lists);
  return AskAnotherCycle(console) == "Y";
}

void RunCycles(Console& console, ProgramState& state) {
  try {
    while (RunCycle(console, state)) {
    }
  } catch (const std::exception&) {
    // An unexpected failure abandons the cycle; the ending follows as for any other way out.
  }
}

}  // namespace

int RunProgram(Console& console, const std::filesystem::path& catalogFile) {
  ProgramState state;
  try {
    if (LoadEverything(console, state, catalogFile)) {
      TakeOwnScreen(console);
      RunCycles(console, state);
    }
    ShowEnding(console, state);
  } catch (const EndRequested& request) {
    if (!request.terminalGone && request.signal != 0) ShowInterruptedEnding(console, state);
    // A hang-up or a lost terminal ends as SIGHUP would.
    return kExitSignalBase + (request.signal != 0 ? request.signal : kHangUpSignal);
  }
  return kExitNormal;
}

}  // namespace ferrolux
