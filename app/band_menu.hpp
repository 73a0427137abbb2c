#pragma once
// The band menu and the typed frequency.

namespace ferrolux {

class Console;
struct ProgramState;

enum class BandOutcome {
  kHelp,    // the help was shown; the cycle starts again
  kEnd,     // Escape: the run ends
  kChosen,  // freqMHz holds a frequency above 0 and at most 470
};

// Fills rows 1 to 15 of the band table; done once at start-up.
void FillBandTable(ProgramState& state);

// Shows the help text over the lower part of the menu, waits for a key and erases it.
void ShowBandHelp(Console& console);

BandOutcome ChooseBand(Console& console, ProgramState& state);

}  // namespace ferrolux
