#pragma once
// The Windows console behind the console's ports: plain lines on the console the program was
// started on, a screen buffer of its own for the page, and key events decoded into keys.
// Ctrl+C, Ctrl+Break and the window closing are only recorded by the control handler; the
// read loop acts on them, so the starting console is always shown again and nothing freed
// is painted.

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "console/ports.hpp"
#include "pageio/page_keeper.hpp"
#include "pageio/shown_cells.hpp"
#include "winconsole/console_api.hpp"

namespace ferrolux {

class WindowsConsole : public Terminal, public Keyboard {
 public:
  explicit WindowsConsole(std::unique_ptr<ConsoleApi> api);
  ~WindowsConsole() override;
  WindowsConsole(const WindowsConsole&) = delete;
  WindowsConsole& operator=(const WindowsConsole&) = delete;

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

  bool TakeWaiting();
  void ActOnControlEvents();
  void FollowWindowSize();
  void PaintPending();
  void Paint(const ScreenModel& model, bool fresh);
  std::optional<std::uint16_t> StreamAttribute(Colors colors) const;

  std::unique_ptr<ConsoleApi> api_;
  std::deque<Key> keys_;
  PageKeeper page_;
  ShownCells shownCells_;
  bool onPage_ = false;
  bool released_ = false;
};

}  // namespace ferrolux
