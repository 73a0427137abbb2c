#pragma once
// Headless ports: a terminal that records what it was asked to do, a keyboard that plays a
// script of keys and pauses, and a clock that only moves when the script says so.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/keys.hpp"
#include "console/ports.hpp"

namespace ferrolux {

class FakeClock : public Clock {
 public:
  LocalTime Now() override { return now; }
  std::chrono::steady_clock::time_point Monotonic() override { return start_ + elapsed; }
  void Advance(std::chrono::milliseconds by) { elapsed += by; }

  LocalTime now{2026, 12, 9, 7, 30, 0};
  std::chrono::milliseconds elapsed{0};

 private:
  std::chrono::steady_clock::time_point start_{};
};

class HeadlessTerminal : public Terminal {
 public:
  void StreamText(std::u32string_view glyphs, Colors colors) override;
  void StreamLineEnd() override;
  void StreamClear(Colors colors) override;
  void TakePage() override {
    pageTaken = true;
    ++pagesTaken;
  }
  void ReleasePage() override { pageTaken = false; }
  void SetTitle(std::string_view title) override { this->title = title; }
  void SetSize(int columns, int rows) override { sizeColumns = columns, sizeRows = rows; }
  void Beep() override { ++bells; }
  void Show(const ScreenModel& screen) override;

  bool pageTaken = false;
  int pagesTaken = 0;
  std::string title;
  int sizeColumns = 0, sizeRows = 0;
  int bells = 0;
  int shows = 0;
  // Shows that found the screen changed since the last one, and the cursor the last one showed.
  int repaints = 0;
  Position shownCursor;
  // What went to the start-up screen, as UTF-8 lines (the last one may be unfinished).
  std::vector<std::string> streamLines{""};
  int streamClears = 0;

 private:
  std::optional<std::uint64_t> shownVersion_;
};

// Thrown when the program asks for a key that the script does not have. Not a
// std::exception, so that it always reaches the test instead of a failure handler.
struct ScriptExhausted {};

class ScriptedKeyboard : public Keyboard {
 public:
  explicit ScriptedKeyboard(FakeClock& clock) : clock_(clock) {}

  // The type is spelled in full here: inside the class, Key names the member.
  ScriptedKeyboard& Key(ferrolux::Key key);
  ScriptedKeyboard& Keys(const std::vector<ferrolux::Key>& keys);
  // Each character of the text as one key.
  ScriptedKeyboard& Type(const std::string& text);
  // Each character of the line, then Enter.
  ScriptedKeyboard& Line(const std::string& text);
  // Time passing with no key pressed.
  ScriptedKeyboard& Pause(std::chrono::milliseconds length);

  std::optional<ferrolux::Key> ReadKey(std::optional<std::chrono::milliseconds> limit) override;
  size_t Pending() const { return events_.size(); }
  int reads = 0;

 private:
  struct Event {
    std::optional<ferrolux::Key> key;  // none for a pause
    std::chrono::milliseconds pause{0};
  };
  FakeClock& clock_;
  std::deque<Event> events_;
};

// The three headless ports and a console wired to them.
struct HeadlessConsole {
  FakeClock clock;
  HeadlessTerminal terminal;
  ScriptedKeyboard keyboard{clock};
  Console console{terminal, keyboard, clock};
};

}  // namespace ferrolux
