#pragma once
// Console services: every screen and keyboard operation of the program. Each operation
// changes the screen model first; the terminal mirrors the model before each blocking read.

#include <chrono>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "console/keys.hpp"
#include "console/ports.hpp"
#include "console/screen.hpp"

namespace ferrolux {

// The program's screen; the console's pages start at this size too.
inline constexpr int kScreenColumns = 120;
inline constexpr int kScreenRows = 43;

class Console {
 public:
  Console(Terminal& terminal, Keyboard& keyboard, Clock& clock);
  // Gives the page back while its model still lives, so the terminal never mirrors a model
  // that is gone, whichever way the run ended.
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Screen operations; positions count from 1.
  void UsePage(int page);
  // Gives the terminal's start-up screen back; later output goes there as lines.
  void LeavePage();
  bool OnOwnPage() const { return onOwnPage_; }
  void SetTitle(std::string_view title);
  void SetScreenSize(int columns, int rows);
  // A value of 16 or more leaves that half of the pair unchanged.
  void SetColor(int foreground, int background);
  void HideCursor();
  void ClearScreen();
  // Positions outside the screen are clamped onto it.
  void Locate(int row, int column);
  int CursorRow() const { return Screen().cursor.row; }
  int CursorColumn() const { return Screen().cursor.column; }
  void PrintText(std::string_view text);
  // `count` copies of one frame character, given by its code-page 437 value.
  void PrintFrame(unsigned char cp437, int count = 1);
  // A blank (or "-"), the number with at most `digits` significant digits, one blank.
  void PrintNumber(double value, int digits);
  void PrintLineEnd();
  void Beep();

  // Keyboard operations. `allowed` is a set of key texts; empty, it accepts every key. A zero
  // limit waits for ever. Gives the key's text; a time-out gives the empty text.
  std::string WaitKey(std::string_view allowed = {}, std::chrono::milliseconds limit = std::chrono::milliseconds{0});
  // Any key, waiting for ever.
  Key NextKey();
  // Reads a typed line in a field from the cursor to `lastColumn` (at most the row's end).
  // Text that would pass the field's end scrolls inside it, so that the end of the text and
  // the cursor stay in view; the line held is not changed by it. Before a page is taken the
  // echo goes to the start-up screen as it is typed.
  std::string InputLine(int lastColumn = std::numeric_limits<int>::max());

  std::string DateText();
  std::string TimeText();

  // For long work between reads: Ctrl+C, SIGTERM and a window change are acted on meanwhile.
  void ActOnPendingSignals() { keyboard_.ActOnPendingSignals(); }

  // Mirrors the model on the terminal; the console calls it before every blocking read.
  void Flush();

  const ScreenModel& Screen() const { return onOwnPage_ ? ownPage_ : startScreen_; }
  Colors CurrentColors() const { return colors_; }

 private:
  ScreenModel& MutableScreen() { return onOwnPage_ ? ownPage_ : startScreen_; }
  void PutGlyph(char32_t glyph);
  void AdvanceRow();
  void StepBack();
  struct InputField {
    int row, column, width;
  };
  void EchoTyped(const InputField& field, const std::string& held);
  void EraseTyped(const InputField& field, const std::string& held);
  void RedrawField(const InputField& field, const std::string& held, size_t firstShown);
  std::optional<Key> WaitAllowed(std::string_view allowed, std::chrono::milliseconds limit);

  Terminal& terminal_;
  Keyboard& keyboard_;
  Clock& clock_;
  ScreenModel startScreen_{kScreenColumns, kScreenRows};
  ScreenModel ownPage_{1, 1};  // made at the current size when the page is taken
  bool onOwnPage_ = false;
  Colors colors_ = kStartColors;
};

std::string FormatDate(const LocalTime& time);  // MM-DD-YYYY
std::string FormatTime(const LocalTime& time);  // HH:MM:SS, 24-hour clock

}  // namespace ferrolux
