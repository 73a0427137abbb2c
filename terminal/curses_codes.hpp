#pragma once
// The control sequences of the terminal curses was started on, read from its terminfo entry.

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "terminal/key_sequences.hpp"
#include "terminal/painter.hpp"

namespace ferrolux {

// Why the terminal type in TERM cannot show the program (unset, unknown, or unable to place
// the cursor), with what to do; none when it can. Leaves the terminal untouched.
std::optional<std::string> TerminalTypeProblem();

// Whether the terminal's answer to TerminfoCodes::SideMarginsQuery says it has side margins:
// it knows their mode, set or reset.
bool ConfirmsSideMargins(ModeReport report);

class TerminfoCodes : public ControlCodes {
 public:
  // Needs the terminal set up (newterm); `utf8` tells whether the locale writes UTF-8.
  explicit TerminfoCodes(bool utf8);

  std::string MoveTo(int row, int column) const override;
  std::string MoveToColumn(int column) const override;
  std::string MoveRight(int count) const override;
  std::string MoveLeftOne() const override { return moveLeftOne_; }
  std::string NextLine() const override { return nextLine_; }
  std::string SetColors(std::optional<Colors> from, Colors to) const override;
  std::string Clear() const override { return clear_; }
  bool ErasesInBackground() const override { return erasesInBackground_; }
  std::string Erase(int count) const override;
  std::string ScrollRegion(int top, int bottom) const override;
  std::string ScrollForward() const override { return scrollForward_; }
  std::string ScrollBackward() const override { return scrollBackward_; }
  std::string ColumnMargins(int left, int right) const override;
  std::string ResetColumnMargins() const override { return marginsConfirmed_ ? resetMargins_ : ""; }
  std::string ShowCursor(bool visible) const override { return visible ? showCursor_ : hideCursor_; }
  std::string Glyph(char32_t glyph) const override;
  bool LastCellWritable() const override { return lastCellWritable_; }

  // Plain colours and a visible cursor, as the terminal had them before the program.
  std::string Reset() const { return plain_ + showCursor_; }
  // From the program's screen back to the one the shell uses, and again into the program's,
  // around a stop with Ctrl+Z; `rows` is the window's height.
  std::string LeavePage(int rows) const;
  std::string EnterPage(int rows) const;
  // Terminfo entries claim side margins that many terminals using them lack (tmux with an
  // xterm entry): the bytes that ask the terminal itself, "" when terminfo claims none. None
  // are used until the terminal confirms them (UseSideMargins).
  std::string SideMarginsQuery() const;
  void UseSideMargins() { marginsConfirmed_ = true; }
  // Whether entering the page already saves the window title, and leaving it restores it.
  bool PageKeepsTitle() const { return pageKeepsTitle_; }

 private:
  static constexpr int kColors = 16;
  static std::string Expanded(std::vector<std::string>& expansions, const std::string& capability, int parameter);
  std::string BrightnessChange(Colors to) const;
  std::string Attributes(Colors to) const;

  bool utf8_;
  bool monochrome_ = false;
  bool pageKeepsTitle_ = false;
  bool brightByBold_ = false;
  bool erasesInBackground_ = false;
  bool lastCellWritable_ = false;
  bool marginsConfirmed_ = false;
  std::string move_, moveToColumn_, moveRight_, moveRightOne_, moveLeftOne_, erase_;
  std::string scrollRegion_, scrollForward_, scrollBackward_, columnMargins_, resetMargins_;
  std::string nextLine_, clear_, showCursor_, hideCursor_, plain_, bold_, reverse_;
  std::string enterPage_, leavePage_, keypadOn_, keypadOff_;
  std::string altCharsOn_, altCharsOff_;
  std::array<std::string, kColors> foreground_, background_;
  // Cursor moves expanded once each: expanding a parameterised capability costs about as much
  // as painting the cells around it, and a screen moves to the same few places again and again.
  mutable std::unordered_map<int, std::string> moves_;
  mutable std::vector<std::string> columnMoves_, rightMoves_, erases_;
};

}  // namespace ferrolux
