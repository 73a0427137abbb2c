#include "app/band_menu.hpp"

#include "app/program_state.hpp"

namespace ferrolux {

// Placeholder until the band menu lands.
void FillBandTable(ProgramState&) {}

BandOutcome ChooseBand(Console&, ProgramState& state) {
  state.freqMHz = 28.5f;
  return BandOutcome::kChosen;
}

}  // namespace ferrolux
