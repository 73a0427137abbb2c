#include "console/curses_terminal.hpp"

#include <ctime>

namespace ferrolux {

// Placeholder until the terminal backend lands.
CursesTerminal::CursesTerminal() = default;
CursesTerminal::~CursesTerminal() = default;
void CursesTerminal::StreamText(std::u32string_view, Colors) {}
void CursesTerminal::StreamLineEnd() {}
void CursesTerminal::StreamClear(Colors) {}
void CursesTerminal::TakePage() {}
void CursesTerminal::ReleasePage() {}
void CursesTerminal::SetTitle(std::string_view) {}
void CursesTerminal::SetSize(int, int) {}
void CursesTerminal::Beep() {}
void CursesTerminal::Show(const ScreenModel&) {}
std::optional<std::string> CursesTerminal::ReadKey(std::optional<std::chrono::milliseconds>) {
  throw EndRequested{0, true};
}

LocalTime SystemClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour, local.tm_min, local.tm_sec};
}

std::chrono::steady_clock::time_point SystemClock::Monotonic() {
  return std::chrono::steady_clock::now();
}

}  // namespace ferrolux
