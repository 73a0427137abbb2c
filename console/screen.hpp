#pragma once
// The screen model: a grid of cells that is the single truth of what the program shows.
// Terminal backends only mirror it; tests read it back cell by cell.

#include <cstdint>
#include <string>
#include <vector>

namespace ferrolux {

struct Colors {
  std::uint8_t foreground = 7;
  std::uint8_t background = 0;
  bool operator==(const Colors&) const = default;
};

struct Cell {
  char32_t glyph = U' ';
  Colors colors;
  bool operator==(const Cell&) const = default;
};

// Rows and columns count from 1, as everywhere on screen.
struct Position {
  int row = 1;
  int column = 1;
  bool operator==(const Position&) const = default;
};

class ScreenModel {
 public:
  ScreenModel(int columns, int rows);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

  // Positions outside the grid are ignored by Put and read as a blank by At.
  const Cell& At(int row, int column) const;
  void Put(int row, int column, Cell cell);

  // Every cell becomes a blank in the given colours.
  void Fill(Colors colors);
  // Rows move up by one; the new last row is blank in the given colours.
  void ScrollUp(Colors colors);
  // Keeps the cells that stay inside the new size; new cells are blank.
  void Resize(int columns, int rows);

  Position cursor;
  bool cursorVisible = true;

  // Bumped on every change, so a backend can skip mirroring an unchanged screen.
  std::uint64_t Version() const { return version_; }

  // One row as UTF-8, for tests and diagnostics.
  std::string RowText(int row) const;

 private:
  bool Inside(int row, int column) const;
  int columns_;
  int rows_;
  std::vector<Cell> cells_;
  std::uint64_t version_ = 0;
};

}  // namespace ferrolux
