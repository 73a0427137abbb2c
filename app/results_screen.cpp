#include "app/results_screen.hpp"

#include "app/program_state.hpp"

namespace ferrolux {

// Placeholder until the cable choice and results screen land.
void ChooseCableAndShowResults(Console&, ProgramState&) {}

}  // namespace ferrolux
