// The whole keyboard path of the real terminal on any byte stream: the bytes go into a
// pseudo-terminal, the terminal reads what is waiting and its decoder turns escape sequences
// and typed characters into keys. Every key is a typed byte (never NUL) or a known key
// without a character.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "console/keys.hpp"
#include "terminal/curses_terminal.hpp"

namespace {

constexpr std::size_t kMostBytes = 1024;  // well inside the pseudo-terminal's input buffer

int g_master = -1;
ferrolux::CursesTerminal* g_terminal = nullptr;

bool KnownKey(ferrolux::Key key) {
  using namespace ferrolux::keys;
  if (key.IsTyped()) return key.Typed() != '\0';
  static constexpr ferrolux::Key kScanKeys[] = {kHome, kUp,   kPageUp,   kLeft,   kRight,
                                                kEnd,  kDown, kPageDown, kInsert, kDelete};
  if (std::find(std::begin(kScanKeys), std::end(kScanKeys), key) != std::end(kScanKeys)) return true;
  for (int n = 1; n <= 10; ++n)
    if (key == Function(n)) return true;
  return false;
}

void DrainOutput() {
  char sink[4096];
  while (read(g_master, sink, sizeof sink) > 0) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  int slave = -1;
  struct winsize size {};
  size.ws_row = 43;
  size.ws_col = 120;
  if (openpty(&g_master, &slave, nullptr, nullptr, &size) != 0) std::abort();
  fcntl(g_master, F_SETFL, fcntl(g_master, F_GETFL) | O_NONBLOCK);
  dup2(slave, STDIN_FILENO);
  dup2(slave, STDOUT_FILENO);
  close(slave);
  setenv("TERM", "xterm-256color", 1);
  setenv("LANG", "C.UTF-8", 1);
  g_terminal = new ferrolux::CursesTerminal();
  g_terminal->TakePage();
  DrainOutput();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  size = std::min(size, kMostBytes);
  if (write(g_master, data, size) != static_cast<ssize_t>(size)) return 0;
  // Each read takes at least one byte while any is waiting, so this many reads empty the buffer.
  for (std::size_t i = 0; i <= size; ++i) {
    const std::optional<ferrolux::Key> key = g_terminal->ReadKey(std::chrono::milliseconds(0));
    if (key && !KnownKey(*key)) __builtin_trap();
    DrainOutput();
  }
  return 0;
}
