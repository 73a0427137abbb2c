#include "winconsole/win32_console.hpp"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>

namespace ferrolux {

namespace {

// A program gets 5 s after the window closes; the run ends well within them.
constexpr DWORD kCloseWait = 4000;
constexpr size_t kLongestTitle = 1024;

std::atomic<int> recordedEvent{static_cast<int>(ControlEvent::kNone)};
HANDLE controlArrived = nullptr;  // set by the handler, waited on with the input
HANDLE runEnded = nullptr;        // set once the starting console is shown again

// Runs on a thread of its own: it only records, and for a closing window holds the process
// until the run has ended, as returning would end it at once.
BOOL WINAPI RecordControl(DWORD event) {
  const bool closing = event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  if (!closing && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  const ControlEvent recorded = closing ? ControlEvent::kClose : ControlEvent::kInterrupt;
  int none = static_cast<int>(ControlEvent::kNone);
  if (!recordedEvent.compare_exchange_strong(none, static_cast<int>(recorded)) && closing)
    recordedEvent = static_cast<int>(ControlEvent::kClose);
  SetEvent(controlArrived);
  if (closing) WaitForSingleObject(runEnded, kCloseWait);
  return TRUE;
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

class Win32Console : public ConsoleApi {
 public:
  Win32Console() : in_(GetStdHandle(STD_INPUT_HANDLE)), start_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleMode(in_, &inMode_) || !GetConsoleScreenBufferInfo(start_, &info))
      throw std::runtime_error("needs an interactive console");
    startAttribute_ = info.wAttributes;
    startTitle_.resize(GetConsoleTitleW(startTitle_.data(), static_cast<DWORD>(startTitle_.size())));
    controlArrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    runEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(RecordControl, TRUE);
    // Key events and window changes only; Ctrl+C stays a control event.
    SetConsoleMode(in_, ENABLE_WINDOW_INPUT | ENABLE_PROCESSED_INPUT);
  }

  ~Win32Console() override {
    ShowStart();
    SetConsoleTextAttribute(start_, startAttribute_);
    if (titleSet_ && !startTitle_.empty()) SetConsoleTitleW(startTitle_.c_str());
    SetConsoleMode(in_, inMode_);
    SetEvent(runEnded);
  }

  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  void WriteStart(std::u16string_view text, std::optional<std::uint16_t> attribute) override {
    SetConsoleTextAttribute(start_, attribute.value_or(startAttribute_));
    const std::wstring wide = Wide(text);
    DWORD written = 0;
    WriteConsoleW(start_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }

  void ClearStart(std::optional<std::uint16_t> attribute) override {
    const WORD fill = attribute.value_or(startAttribute_);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(start_, &info)) return;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    DWORD done = 0;
    FillConsoleOutputCharacterA(start_, ' ', cells, COORD{0, 0}, &done);
    FillConsoleOutputAttribute(start_, fill, cells, COORD{0, 0}, &done);
    SetConsoleTextAttribute(start_, fill);
    SetConsoleCursorPosition(start_, COORD{0, 0});
  }

  void MakePage() override {
    if (page_ != nullptr) return;
    page_ = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (page_ == INVALID_HANDLE_VALUE) {
      page_ = nullptr;
      throw std::runtime_error("cannot make a screen buffer on this console");
    }
    SetConsoleActiveScreenBuffer(page_);
  }

  void ShowStart() override {
    if (page_ == nullptr) return;
    SetConsoleActiveScreenBuffer(start_);
    CloseHandle(page_);
    page_ = nullptr;
  }

  // The window can only show what the buffer holds: the buffer grows first, the window
  // follows, and the buffer then shrinks to the window, so nothing scrolls off.
  void ResizePage(ConsoleSize size) override {
    if (page_ == nullptr) return;
    const COORD largest = GetLargestConsoleWindowSize(page_);
    const SHORT columns = static_cast<SHORT>(largest.X > 0 ? std::min<int>(size.columns, largest.X) : size.columns);
    const SHORT rows = static_cast<SHORT>(largest.Y > 0 ? std::min<int>(size.rows, largest.Y) : size.rows);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(page_, &info);
    SetConsoleScreenBufferSize(page_, COORD{std::max(columns, info.dwSize.X), std::max(rows, info.dwSize.Y)});
    const SMALL_RECT window{0, 0, static_cast<SHORT>(columns - 1), static_cast<SHORT>(rows - 1)};
    SetConsoleWindowInfo(page_, TRUE, &window);
    SetConsoleScreenBufferSize(page_, COORD{columns, rows});
  }

  ConsoleSize WindowSize() override {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(page_ != nullptr ? page_ : start_, &info)) return {};
    return {info.srWindow.Right - info.srWindow.Left + 1, info.srWindow.Bottom - info.srWindow.Top + 1};
  }

  void WriteCells(int row, int column, const std::vector<CharCell>& cells) override {
    if (page_ == nullptr || cells.empty()) return;
    std::vector<CHAR_INFO> infos(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
      infos[i].Char.UnicodeChar = static_cast<WCHAR>(cells[i].glyph);
      infos[i].Attributes = cells[i].attribute;
    }
    const COORD size{static_cast<SHORT>(cells.size()), 1};
    SMALL_RECT region{static_cast<SHORT>(column), static_cast<SHORT>(row),
                      static_cast<SHORT>(column + static_cast<int>(cells.size()) - 1), static_cast<SHORT>(row)};
    WriteConsoleOutputW(page_, infos.data(), size, COORD{0, 0}, &region);
  }

  void PlaceCursor(int row, int column, bool visible) override {
    if (page_ == nullptr) return;
    const CONSOLE_CURSOR_INFO cursor{25, visible ? TRUE : FALSE};
    SetConsoleCursorInfo(page_, &cursor);
    if (visible) SetConsoleCursorPosition(page_, COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)});
  }

  void SetTitle(std::u16string_view title) override {
    SetConsoleTitleW(Wide(title).c_str());
    titleSet_ = true;
  }

  // The console's own bell, as a terminal rings it for BEL.
  void Beep() override {
    DWORD written = 0;
    WriteConsoleW(page_ != nullptr ? page_ : start_, L"\a", 1, &written, nullptr);
  }

  std::vector<InputRecord> ReadWaiting() override {
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(in_, &waiting) || waiting == 0) return {};
    std::vector<INPUT_RECORD> raw(waiting);
    DWORD read = 0;
    if (!ReadConsoleInputW(in_, raw.data(), waiting, &read)) return {};
    std::vector<InputRecord> records;
    records.reserve(read);
    for (DWORD i = 0; i < read; ++i) records.push_back(Plain(raw[i]));
    return records;
  }

  ConsoleWait WaitForInput(std::optional<std::chrono::milliseconds> limit) override {
    const HANDLE watched[2] = {controlArrived, in_};
    const DWORD timeout = limit ? static_cast<DWORD>(limit->count()) : INFINITE;
    const DWORD woken = WaitForMultipleObjects(2, watched, FALSE, timeout);
    if (woken == WAIT_OBJECT_0) return ConsoleWait::kControl;
    if (woken == WAIT_OBJECT_0 + 1) return ConsoleWait::kInput;
    return ConsoleWait::kTimeOut;
  }

  ControlEvent TakeControlEvent() override {
    return static_cast<ControlEvent>(recordedEvent.exchange(static_cast<int>(ControlEvent::kNone)));
  }

 private:
  static InputRecord Plain(const INPUT_RECORD& raw) {
    if (raw.EventType == WINDOW_BUFFER_SIZE_EVENT) return {InputRecord::Kind::kBufferSize, {}};
    if (raw.EventType != KEY_EVENT) return {};
    const KEY_EVENT_RECORD& key = raw.Event.KeyEvent;
    return {InputRecord::Kind::kKey, KeyRecord{key.bKeyDown != FALSE, key.wRepeatCount, key.wVirtualKeyCode,
                                               static_cast<char16_t>(key.uChar.UnicodeChar), key.dwControlKeyState}};
  }

  HANDLE in_;
  HANDLE start_;
  HANDLE page_ = nullptr;
  DWORD inMode_ = 0;
  WORD startAttribute_ = 0x07;
  std::wstring startTitle_ = std::wstring(kLongestTitle, L'\0');  // given back at the end
  bool titleSet_ = false;
};

}  // namespace

std::unique_ptr<ConsoleApi> OpenWin32Console() { return std::make_unique<Win32Console>(); }

}  // namespace ferrolux
