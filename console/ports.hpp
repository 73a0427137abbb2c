#pragma once
// The console's three ports. Production wires a real terminal, keyboard and clock;
// tests wire the headless ones (console/headless.hpp).

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "console/keys.hpp"
#include "console/screen.hpp"

namespace ferrolux {

// The colours the console starts in; on a terminal they stand for the terminal's own.
inline constexpr Colors kStartColors{7, 0};

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Before TakePage and after ReleasePage the program writes to the screen it was started
  // on, as a stream of lines; in between, the terminal mirrors the screen model.
  virtual void StreamText(std::u32string_view glyphs, Colors colors) = 0;
  virtual void StreamLineEnd() = 0;
  virtual void StreamClear(Colors colors) = 0;

  virtual void TakePage() = 0;
  virtual void ReleasePage() = 0;
  virtual void SetTitle(std::string_view singleByteTitle) = 0;
  // Asks for the size. While the terminal shows less, it shows a notice instead of the page
  // and the keys are the notice's (Escape or Q: LeaveRequested).
  virtual void SetSize(int columns, int rows) = 0;
  virtual void Beep() = 0;
  // Makes the terminal show the model (called once before each blocking read). A terminal
  // may wait to paint until no more keys are waiting, so that a paste is not painted per key.
  virtual void Show(const ScreenModel& screen) = 0;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // The next key, or none when the limit passes first (no limit: wait for ever).
  virtual std::optional<Key> ReadKey(std::optional<std::chrono::milliseconds> limit) = 0;
  // Called now and then by long work between reads: signals that came meanwhile are acted on
  // as a read would (an ending one throws EndRequested).
  virtual void ActOnPendingSignals() {}
};

struct LocalTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // A monotonic reading, for time limits.
  virtual std::chrono::steady_clock::time_point Monotonic() = 0;
};

}  // namespace ferrolux

namespace ferrolux {

// Thrown by a keyboard when a signal (Ctrl+C, SIGTERM, SIGHUP) or the loss of the terminal
// asks the program to end at once. Not a std::exception, so no failure handler swallows it.
struct EndRequested {
  int signal = 0;             // the signal number; 0 when the terminal went away
  bool terminalGone = false;  // hang-up or end of input: nothing more can be shown
};

// Thrown by a keyboard when the user chose to end the run at the notice that asks for a
// larger terminal. The run goes on to its ending, as after Escape at the band menu.
struct LeaveRequested : std::runtime_error {
  LeaveRequested() : std::runtime_error("the run was ended at the notice asking for a larger terminal") {}
};

}  // namespace ferrolux
