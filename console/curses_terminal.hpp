#pragma once
// The real terminal: ncursesw for the program's own page, plain lines on the start-up screen,
// and the keyboard decoded into key texts. Every change to the terminal is undone on exit.

#include <chrono>
#include <optional>
#include <string>

#include "console/ports.hpp"

namespace ferrolux {

class CursesTerminal : public Terminal, public Keyboard {
 public:
  CursesTerminal();
  ~CursesTerminal() override;
  CursesTerminal(const CursesTerminal&) = delete;
  CursesTerminal& operator=(const CursesTerminal&) = delete;

  void StreamText(std::u32string_view glyphs, Colors colors) override;
  void StreamLineEnd() override;
  void StreamClear(Colors colors) override;
  void TakePage() override;
  void ReleasePage() override;
  void SetTitle(std::string_view singleByteTitle) override;
  void SetSize(int columns, int rows) override;
  void Beep() override;
  void Show(const ScreenModel& screen) override;

  std::optional<std::string> ReadKey(std::optional<std::chrono::milliseconds> limit) override;
};

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
  std::chrono::steady_clock::time_point Monotonic() override;
};

}  // namespace ferrolux
