#pragma once
// The real terminal: plain lines on the screen the program was started on, ncursesw for the
// program's own page, and the keyboard decoded into keys. Every change made to the
// terminal is undone by the destructor, on every way out, and while the program is stopped.

#include <termios.h>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "console/ports.hpp"
#include "pageio/page_keeper.hpp"
#include "pageio/system_clock.hpp"
#include "terminal/curses_keyboard.hpp"
#include "terminal/curses_signals.hpp"
#include "terminal/painter.hpp"

namespace ferrolux {

class TerminfoCodes;

class CursesTerminal : public Terminal, public Keyboard {
 public:
  // Refuses, before touching the terminal, a terminal type that is unset, unknown or cannot
  // place the cursor.
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

  std::optional<Key> ReadKey(std::optional<std::chrono::milliseconds> limit) override;
  void ActOnPendingSignals() override;

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  enum class Wait { kInput, kTimeOut, kSignal };

  std::optional<Key> NextKey(std::optional<std::chrono::milliseconds> limit);
  Wait WaitForInput(std::optional<TimePoint> until);
  bool WaitToWrite();
  void HoldSignals();
  void GiveUpWritingSoon();
  void ActOnSignals();
  void ActOnSignalsNowAndThen();
  void ActOnSignal(int signal);
  void Suspend();
  void EndCurses();
  void Continued();
  void TakeModeReports();
  void FollowWindowSize();
  void PaintPending();
  std::string StreamColors(Colors colors);
  std::string TitleBytes();
  std::string LeavingBytes() const;
  void UpdateFaultBytes();
  void SetModes(const struct termios& modes, int when) const;
  void RememberRunningModes();
  void Write(const std::string& bytes);

  SignalPipe signals_;
  int out_;  // the terminal opened anew, non-blocking: a stalled terminal never blocks a write
  // Signals met while a write waited; the read loop acts on them first.
  std::deque<int> heldSignals_;
  // Once the run is ending, a terminal that reads nothing is waited for only until then.
  std::optional<TimePoint> giveUpWritingAt_;
  bool utf8_;
  KeyboardInput input_;
  struct termios original_ {};
  struct termios running_ {};
  std::optional<FaultRestore> faults_;
  bool termiosSaved_ = false;
  bool onPage_ = false;
  bool released_ = false;
  bool streamColored_ = false;
  Colors streamColors_ = kStartColors;
  void* screen_ = nullptr;  // the curses SCREEN, kept opaque so no header here needs curses
  std::unique_ptr<TerminfoCodes> codes_;
  std::unique_ptr<ScreenPainter> painter_;
  PageKeeper page_;
  std::string title_;  // UTF-8
  bool titlePushed_ = false;
  std::chrono::steady_clock::duration stoppedFor_{};
  bool continuedFromStop_ = false;
  TimePoint lastSignalCheck_{};
};

}  // namespace ferrolux
