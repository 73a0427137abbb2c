#pragma once
// The real terminal: plain lines on the screen the program was started on, ncursesw for the
// program's own page, and the keyboard decoded into key texts. Every change made to the
// terminal is undone by the destructor, on every way out.

#include <termios.h>

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <signal.h>
#include <string>

#include "console/painter.hpp"
#include "console/ports.hpp"
#include "console/typed_input.hpp"

namespace ferrolux {

class TerminfoCodes;

// Ctrl+C, Ctrl+\, SIGTERM, SIGHUP and window changes are only recorded here, through a self-pipe;
// the keyboard read acts on them.
class SignalPipe {
 public:
  SignalPipe();
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;
  int ReadEnd() const { return fds_[0]; }
  // The next recorded signal, or 0.
  int Take();

 private:
  int fds_[2] = {-1, -1};
  std::map<int, struct sigaction> previous_;
};

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

 private:
  enum class Wait { kInput, kTimeOut, kResized };
  Wait WaitForInput(std::optional<std::chrono::milliseconds> limit);
  void ActOnSignal(int signal);
  void FollowWindowSize();
  bool LargeEnough() const;
  void Draw(bool force);
  void DrawNotice();
  std::string StreamColors(Colors colors);
  std::optional<std::string> ReadStreamKey();
  std::optional<std::string> ReadPageKey(bool inputReported);
  std::optional<std::string> TakeQueuedKey();
  void Write(const std::string& bytes) const;

  SignalPipe signals_;
  struct termios original_ {};
  bool termiosSaved_ = false;
  bool onPage_ = false;
  bool released_ = false;
  bool streamColored_ = false;
  Colors streamColors_ = kStartColors;
  bool utf8_ = true;
  void* screen_ = nullptr;  // the curses SCREEN, kept opaque so no header here needs curses
  std::unique_ptr<TerminfoCodes> codes_;
  std::unique_ptr<ScreenPainter> painter_;
  const ScreenModel* shown_ = nullptr;
  int columns_ = 0, rows_ = 0;
  int wantColumns_ = 0, wantRows_ = 0;
  int idleReadsWithoutInput_ = 0;
  TypedInputDecoder typed_{true};
  std::deque<std::string> queuedKeys_;
};

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
  std::chrono::steady_clock::time_point Monotonic() override;
};

}  // namespace ferrolux
