#pragma once
// Cable choice (type, then part number), the calculation and the results screen.

namespace ferrolux {

class Console;
struct ProgramState;

// Leaves the results on the screen for the closing question.
void ChooseCableAndShowResults(Console& console, ProgramState& state);

}  // namespace ferrolux
