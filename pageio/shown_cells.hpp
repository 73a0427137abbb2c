#pragma once
// The cells a window shows, for a backend that writes runs of cells rather than a byte
// stream: only the runs that differ from the screen model are written.

#include <vector>

#include "console/screen.hpp"

namespace ferrolux {

// Cells side by side on one row; positions count from 1.
struct CellRun {
  int row = 1;
  int column = 1;
  std::vector<Cell> cells;
  bool operator==(const CellRun&) const = default;
};

class ShownCells {
 public:
  // The runs where `screen` differs from what is shown (every row when `fresh` or the size
  // changed), which from now on count as shown. Runs a short gap apart are one.
  std::vector<CellRun> Changes(const ScreenModel& screen, bool fresh);

 private:
  Cell& Shown(int row, int column);
  void AddChanged(std::vector<CellRun>& runs, const ScreenModel& screen, int row, int column);

  int columns_ = 0, rows_ = 0;
  std::vector<Cell> cells_;
};

}  // namespace ferrolux
