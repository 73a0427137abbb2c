#include "app/settings_entry.hpp"

#include "app/program_state.hpp"

namespace ferrolux {

// Placeholder until the settings screen lands: fixed values.
void EnterSettings(Console&, ProgramState& state) {
  state.lengthFt = 100;
  state.powerW = 100;
  state.shackSwr = 1.5f;
}

}  // namespace ferrolux
