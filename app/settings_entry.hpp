#pragma once
// Length, power and the SWR measured in the shack, with the question whether to revise them.

namespace ferrolux {

class Console;
struct ProgramState;

// Returns when the user has answered N; the three settings then hold this cycle's values.
void EnterSettings(Console& console, ProgramState& state);

}  // namespace ferrolux
