#pragma once
// The ending of every run: the error line, if any, and the run's start and end times.

namespace ferrolux {

class Console;
struct ProgramState;

// Shows the ending on the current screen; when the program had a page of its own, gives the
// terminal's own screen back and repeats the lines there so they stay readable.
void ShowEnding(Console& console, ProgramState& state);

// Ctrl+C or SIGTERM: no questions, just the run lines on the terminal's own screen.
void ShowInterruptedEnding(Console& console, const ProgramState& state);

}  // namespace ferrolux
