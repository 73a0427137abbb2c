#pragma once
// What the program's standard streams are connected to.

namespace ferrolux::platform {

// Standard input and output are both a terminal (a console on Windows) a person types at.
bool IsInteractive();

struct OutputConsole {
  bool terminal = false;  // standard output is a terminal or console, not a file or a pipe
  int columns = 0;        // 0 when the system does not say
  int rows = 0;
};
OutputConsole StandardOutputConsole();

// Text may go out as UTF-8: the locale's character set on POSIX; on Windows the console is
// switched to UTF-8, which it always can be.
bool OutputIsUtf8();

}  // namespace ferrolux::platform
