// Ferrolux: the loss of a coaxial feed line, in a full-screen terminal calculator.

#include <unistd.h>

#include <cstdio>
#include <exception>

#include "app/program.hpp"
#include "console/console.hpp"
#include "console/curses_terminal.hpp"

namespace {
constexpr int kExitNoTerminal = 1;
}

int main() {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fputs("ferrolux: needs an interactive terminal\n", stderr);
    return kExitNoTerminal;
  }
  try {
    ferrolux::CursesTerminal terminal;
    ferrolux::SystemClock clock;
    ferrolux::Console console(terminal, terminal, clock);
    return ferrolux::RunProgram(console);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ferrolux: %s\n", failure.what());
    return kExitNoTerminal;
  }
}
