#pragma once
// A console in memory: what the backend wrote, which buffer is active, and input and control
// events queued by the test. It never blocks: a wait with nothing queued times out.

#include <deque>
#include <string>
#include <vector>

#include "winconsole/console_api.hpp"

namespace ferrolux {

struct FakeConsoleState {
  std::u16string started;  // the text written on the starting console
  bool pageActive = false;
  ConsoleSize window{120, 43};
  std::vector<std::u16string> page;  // the page's rows as written
  int paints = 0;                    // the cursor is placed once at the end of each
  std::u16string title;
  std::deque<std::vector<InputRecord>> input;  // each entry is read in one go
  std::deque<ControlEvent> controls;
};

class FakeConsole : public ConsoleApi {
 public:
  explicit FakeConsole(FakeConsoleState& state) : state_(state) {}

  void WriteStart(std::u16string_view text, std::optional<std::uint16_t>) override { state_.started += text; }
  void ClearStart(std::optional<std::uint16_t>) override { state_.started.clear(); }
  void MakePage() override {
    state_.pageActive = true;
    state_.page.assign(static_cast<size_t>(state_.window.rows), std::u16string(state_.window.columns, u' '));
  }
  void ShowStart() override { state_.pageActive = false; }
  void ResizePage(ConsoleSize) override {}
  ConsoleSize WindowSize() override { return state_.window; }
  void WriteCells(int row, int column, const std::vector<CharCell>& cells) override {
    for (size_t i = 0; i < cells.size(); ++i) state_.page.at(static_cast<size_t>(row)).at(column + i) = cells[i].glyph;
  }
  void PlaceCursor(int, int, bool) override { ++state_.paints; }
  void SetTitle(std::u16string_view title) override { state_.title = title; }
  void Beep() override {}
  std::vector<InputRecord> ReadWaiting() override {
    if (state_.input.empty()) return {};
    std::vector<InputRecord> records = std::move(state_.input.front());
    state_.input.pop_front();
    return records;
  }
  ConsoleWait WaitForInput(std::optional<std::chrono::milliseconds>) override {
    if (!state_.controls.empty()) return ConsoleWait::kControl;
    return state_.input.empty() ? ConsoleWait::kTimeOut : ConsoleWait::kInput;
  }
  ControlEvent TakeControlEvent() override {
    if (state_.controls.empty()) return ControlEvent::kNone;
    const ControlEvent event = state_.controls.front();
    state_.controls.pop_front();
    return event;
  }

 private:
  FakeConsoleState& state_;
};

inline InputRecord TypedRecord(char16_t character, std::uint16_t virtualKey = 0) {
  return {InputRecord::Kind::kKey, KeyRecord{true, 1, virtualKey, character, 0}};
}

}  // namespace ferrolux
