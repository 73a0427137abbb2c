#include "pageio/shown_cells.hpp"

namespace ferrolux {

namespace {
constexpr int kJoinedGap = 8;
}  // namespace

Cell& ShownCells::Shown(int row, int column) {
  return cells_[static_cast<size_t>(row - 1) * static_cast<size_t>(columns_) + static_cast<size_t>(column - 1)];
}

std::vector<CellRun> ShownCells::Changes(const ScreenModel& screen, bool fresh) {
  const bool sized = screen.Columns() != columns_ || screen.Rows() != rows_;
  if (sized) {
    columns_ = screen.Columns();
    rows_ = screen.Rows();
    cells_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), Cell{});
  }
  std::vector<CellRun> runs;
  for (int row = 1; row <= rows_; ++row) {
    for (int column = 1; column <= columns_; ++column) {
      const Cell& wanted = screen.At(row, column);
      const bool changed = fresh || sized || Shown(row, column) != wanted;
      Shown(row, column) = wanted;
      if (changed) AddChanged(runs, screen, row, column);
    }
  }
  return runs;
}

// A few unchanged cells between two changes are written again: one call costs more.
void ShownCells::AddChanged(std::vector<CellRun>& runs, const ScreenModel& screen, int row, int column) {
  CellRun* last = runs.empty() ? nullptr : &runs.back();
  const int lastEnd = last != nullptr ? last->column + static_cast<int>(last->cells.size()) : 0;
  if (last == nullptr || last->row != row || column - lastEnd >= kJoinedGap) {
    runs.push_back(CellRun{row, column, {screen.At(row, column)}});
    return;
  }
  for (int joined = lastEnd; joined <= column; ++joined) last->cells.push_back(screen.At(row, joined));
}

}  // namespace ferrolux
