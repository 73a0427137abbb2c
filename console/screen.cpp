#include "console/screen.hpp"

#include <algorithm>

#include "text/charset.hpp"

namespace ferrolux {

namespace {
const Cell kBlank{};
}

ScreenModel::ScreenModel(int columns, int rows)
    : columns_(std::max(columns, 1)), rows_(std::max(rows, 1)), cells_(static_cast<size_t>(columns_) * rows_) {}

bool ScreenModel::Inside(int row, int column) const {
  return row >= 1 && row <= rows_ && column >= 1 && column <= columns_;
}

const Cell& ScreenModel::At(int row, int column) const {
  if (!Inside(row, column)) return kBlank;
  return cells_[static_cast<size_t>(row - 1) * columns_ + (column - 1)];
}

void ScreenModel::Put(int row, int column, Cell cell) {
  if (!Inside(row, column)) return;
  cells_[static_cast<size_t>(row - 1) * columns_ + (column - 1)] = cell;
  ++version_;
}

void ScreenModel::Fill(Colors colors) {
  std::fill(cells_.begin(), cells_.end(), Cell{U' ', colors});
  ++version_;
}

void ScreenModel::ScrollUp(Colors colors) {
  std::move(cells_.begin() + columns_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - columns_, cells_.end(), Cell{U' ', colors});
  ++version_;
}

void ScreenModel::Resize(int columns, int rows) {
  columns = std::max(columns, 1);
  rows = std::max(rows, 1);
  // The same size keeps every cell; a new grid would only cost memory to fill.
  if (columns != columns_ || rows != rows_) {
    std::vector<Cell> resized(static_cast<size_t>(columns) * rows);
    for (int r = 1; r <= std::min(rows, rows_); ++r)
      for (int c = 1; c <= std::min(columns, columns_); ++c)
        resized[static_cast<size_t>(r - 1) * columns + (c - 1)] = At(r, c);
    columns_ = columns;
    rows_ = rows;
    cells_ = std::move(resized);
  }
  cursor.row = std::clamp(cursor.row, 1, rows_);
  cursor.column = std::clamp(cursor.column, 1, columns_);
  ++version_;
}

std::string ScreenModel::RowText(int row) const {
  std::string text;
  for (int c = 1; c <= columns_; ++c) AppendUtf8(text, At(row, c).glyph);
  return text;
}

}  // namespace ferrolux
