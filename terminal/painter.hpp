#pragma once
// Bringing a terminal from what it shows to what the screen model holds with as few bytes as
// possible: only changed cells are written, with the shortest cursor move and only the colour
// halves that change. Programs are used over slow links, so every byte counts.

#include <optional>
#include <string>
#include <vector>

#include "console/screen.hpp"

namespace ferrolux {

// Console colour numbers count blue as bit 0 and red as bit 2, terminals the other way round;
// the swap is its own inverse, so it also turns a terminal's number back.
int TerminalColor(int console);

// The control sequences of one terminal. Positions count from 1; an empty text means the
// terminal cannot do it and the painter finds another way.
class ControlCodes {
 public:
  virtual ~ControlCodes() = default;
  virtual std::string MoveTo(int row, int column) const = 0;
  virtual std::string MoveToColumn(int column) const = 0;
  virtual std::string MoveRight(int count) const = 0;
  virtual std::string MoveLeftOne() const = 0;
  // To column 1 of the next row; never scrolls, as it is not used on the last row.
  virtual std::string NextLine() const = 0;
  // From the colours the terminal writes in now (none: not known) to `to`.
  virtual std::string SetColors(std::optional<Colors> from, Colors to) const = 0;
  // Every cell blank and the cursor at (1, 1); in the current background when the terminal
  // erases with it (otherwise in its own colours).
  virtual std::string Clear() const = 0;
  virtual bool ErasesInBackground() const = 0;
  // Blanks `count` cells from the cursor on, in the current background; the cursor stays.
  virtual std::string Erase(int count) const = 0;
  // Rows top to bottom become the region that the next two scroll by one line: forward (up)
  // with the cursor on its bottom row, backward (down) with it on its top row. Setting a
  // region may move the cursor anywhere.
  virtual std::string ScrollRegion(int top, int bottom) const = 0;
  virtual std::string ScrollForward() const = 0;
  virtual std::string ScrollBackward() const = 0;
  // Columns left to right become the only ones the scrolls above move, until the reset; may
  // move the cursor anywhere. Empty where the terminal has no side margins.
  virtual std::string ColumnMargins(int /*left*/, int /*right*/) const { return {}; }
  virtual std::string ResetColumnMargins() const { return {}; }
  virtual std::string ShowCursor(bool visible) const = 0;
  virtual std::string Glyph(char32_t glyph) const = 0;
  // Whether writing the bottom-right cell leaves the screen where it is.
  virtual bool LastCellWritable() const = 0;
};

class ScreenPainter {
 public:
  explicit ScreenPainter(const ControlCodes& codes) : codes_(codes) {}

  // The bytes that make the terminal show the model. `fresh` repaints it all, for a terminal
  // whose contents are not known (first use, a resize, another program's output).
  std::string Paint(const ScreenModel& screen, bool fresh);

 private:
  struct Spot {
    int row = 0, column = 0;  // 0: not known
    bool operator==(const Spot&) const = default;
  };
  // Model rows first to last show what the terminal shows `by` rows further down; `gain` of
  // them are not right where they are.
  struct Shift {
    int first = 0, last = 0, by = 0, gain = 0;
  };
  // The columns a shift is looked for in: the whole width, or the changed ones alone where
  // the terminal can scroll between side margins.
  struct Band {
    int left = 0, right = 0;
  };

  void Start(const ScreenModel& screen);
  bool RowShows(const ScreenModel& screen, int row, int shownRow, Band band) const;
  Band ChangedColumns(const ScreenModel& screen) const;
  Shift FindShift(const ScreenModel& screen, int by, Band band) const;
  void ScrollShifted(const ScreenModel& screen);
  void MoveShownRows(int top, int bottom, int by, Band band);
  void PaintRow(const ScreenModel& screen, int row);
  int EraseRun(const ScreenModel& screen, int row, int column);
  void PaintCell(const ScreenModel& screen, int row, int column);
  void PlaceCursor(const ScreenModel& screen);
  void MoveTo(int row, int column);
  std::string MoveAlongRow(int row, int from, int to) const;
  // The cells between written again, when they show in the current colours and take fewer
  // than `shorterThan` bytes; "" otherwise.
  std::string Rewrite(int row, int from, int to, size_t shorterThan) const;
  void UseColors(Colors wanted);
  Cell& Shown(int row, int column);
  const Cell& Shown(int row, int column) const;

  const ControlCodes& codes_;
  std::string out_;
  std::vector<Cell> shown_;
  int columns_ = 0, rows_ = 0;
  Spot cursor_;
  std::optional<Colors> colors_;
  std::optional<bool> cursorVisible_;
};

}  // namespace ferrolux
