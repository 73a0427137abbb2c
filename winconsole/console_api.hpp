#pragma once
// The few console calls the Windows backend makes, as plain types, so that its logic is the
// same on every system: the real console implements them on Windows, a fake in the tests.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ferrolux {

// The fields of a console key event that the keys are decoded from.
struct KeyRecord {
  bool keyDown = true;
  std::uint16_t repeatCount = 1;
  std::uint16_t virtualKeyCode = 0;
  char16_t character = 0;
  std::uint32_t controlKeyState = 0;
};

// The console's modifier bits in controlKeyState.
namespace control_keys {
inline constexpr std::uint32_t kRightAlt = 0x01;
inline constexpr std::uint32_t kLeftAlt = 0x02;
inline constexpr std::uint32_t kRightCtrl = 0x04;
inline constexpr std::uint32_t kLeftCtrl = 0x08;
}  // namespace control_keys

struct InputRecord {
  enum class Kind { kKey, kBufferSize, kOther };
  Kind kind = Kind::kOther;
  KeyRecord key;
};

// A character cell as the console holds it: one UTF-16 unit and its attribute (foreground in
// the low four bits, background in the high four, the console's colour numbers).
struct CharCell {
  char16_t glyph = u' ';
  std::uint16_t attribute = 0x07;
  bool operator==(const CharCell&) const = default;
};

struct ConsoleSize {
  int columns = 0;
  int rows = 0;
};

enum class ConsoleWait { kInput, kTimeOut, kControl };

// What the control handler recorded: Ctrl+C or Ctrl+Break, or the window closing (or the
// session ending), after which nothing can be shown.
enum class ControlEvent { kNone, kInterrupt, kClose };

class ConsoleApi {
 public:
  virtual ~ConsoleApi() = default;

  // On the console the program was started on, at its cursor; no attribute: its own colours.
  virtual void WriteStart(std::u16string_view text, std::optional<std::uint16_t> attribute) = 0;
  virtual void ClearStart(std::optional<std::uint16_t> attribute) = 0;

  // The program's own screen buffer, made active; ShowStart makes the starting one active
  // again and frees it.
  virtual void MakePage() = 0;
  virtual void ShowStart() = 0;
  virtual void ResizePage(ConsoleSize size) = 0;
  // The size of the window onto the page (or, off the page, the starting console).
  virtual ConsoleSize WindowSize() = 0;
  // Rows and columns count from 0 here, as the console counts them.
  virtual void WriteCells(int row, int column, const std::vector<CharCell>& cells) = 0;
  virtual void PlaceCursor(int row, int column, bool visible) = 0;

  virtual void SetTitle(std::u16string_view title) = 0;
  virtual void Beep() = 0;

  // Every record waiting, without blocking.
  virtual std::vector<InputRecord> ReadWaiting() = 0;
  // Until input waits, a control event comes or the limit passes (none: for ever).
  virtual ConsoleWait WaitForInput(std::optional<std::chrono::milliseconds> limit) = 0;
  virtual ControlEvent TakeControlEvent() = 0;
};

}  // namespace ferrolux
