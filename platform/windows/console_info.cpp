#include "platform/console_info.hpp"

#include <windows.h>

namespace ferrolux::platform {

namespace {

// A console, not a file, a pipe or NUL (which the C runtime's isatty counts as a terminal).
bool IsConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

bool IsInteractive() { return IsConsole(STD_INPUT_HANDLE) && IsConsole(STD_OUTPUT_HANDLE); }

OutputConsole StandardOutputConsole() {
  OutputConsole console;
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return console;
  console.terminal = true;
  console.columns = info.srWindow.Right - info.srWindow.Left + 1;
  console.rows = info.srWindow.Bottom - info.srWindow.Top + 1;
  return console;
}

bool OutputIsUtf8() {
  SetConsoleOutputCP(CP_UTF8);
  return true;
}

}  // namespace ferrolux::platform
