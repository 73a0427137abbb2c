#include "terminal/painter.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace ferrolux {

namespace {

// A background no colour number has: a cell the terminal shows in colours not known.
constexpr std::uint8_t kUnknownColor = 0xFF;
constexpr int kColorCount = 16;
constexpr int kColorPairs = kColorCount * kColorCount;
// Going down by whole lines, or left by single steps, pays only for a few.
constexpr int kMostLineSteps = 3;
constexpr int kMostLeftSteps = 3;
// An erase leaves the cursor where it was, so a move follows it.
constexpr int kMoveAfterErase = 6;
// Setting the region twice, a move and the line that comes in cost about what three rows do.
constexpr int kShortestScrollGain = 3;
// Setting and clearing side margins costs about what 40 cells written again do.
constexpr int kFewestCellsForMargins = 40;

bool Blank(const Cell& cell) { return cell.glyph == U' '; }

// A blank looks the same in any foreground.
bool LooksSame(const Cell& shown, const Cell& wanted) {
  return shown.glyph == wanted.glyph && shown.colors.background == wanted.colors.background &&
         (Blank(wanted) || shown.colors.foreground == wanted.colors.foreground);
}

Colors MostCommonColors(const ScreenModel& screen) {
  std::array<int, kColorPairs> counts{};
  for (int row = 1; row <= screen.Rows(); ++row)
    for (int column = 1; column <= screen.Columns(); ++column) {
      const Colors colors = screen.At(row, column).colors;
      ++counts[(colors.foreground % kColorCount) * kColorCount + colors.background % kColorCount];
    }
  size_t most = 0;
  for (size_t i = 1; i < counts.size(); ++i)
    if (counts[i] > counts[most]) most = i;
  return {static_cast<std::uint8_t>(most / kColorCount), static_cast<std::uint8_t>(most % kColorCount)};
}

std::uint8_t MostCommonBackground(const ScreenModel& screen, int row, int left, int right) {
  std::array<int, kColorCount> counts{};
  for (int column = left; column <= right; ++column) ++counts[screen.At(row, column).colors.background % kColorCount];
  return static_cast<std::uint8_t>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

// An empty way is no way; an empty best is none found yet.
void KeepShorter(std::string& best, std::string way) {
  if (!way.empty() && (best.empty() || way.size() < best.size())) best = std::move(way);
}

}  // namespace

int TerminalColor(int console) { return ((console & 1) << 2) | (console & 2) | ((console & 4) >> 2) | (console & 8); }

Cell& ScreenPainter::Shown(int row, int column) {
  return shown_[static_cast<size_t>(row - 1) * columns_ + (column - 1)];
}

const Cell& ScreenPainter::Shown(int row, int column) const {
  return shown_[static_cast<size_t>(row - 1) * columns_ + (column - 1)];
}

std::string ScreenPainter::Paint(const ScreenModel& screen, bool fresh) {
  out_.clear();
  if (fresh || screen.Columns() != columns_ || screen.Rows() != rows_) {
    Start(screen);
  } else {
    ScrollShifted(screen);
  }
  for (int row = 1; row <= rows_; ++row) PaintRow(screen, row);
  PlaceCursor(screen);
  return std::move(out_);
}

// Clears in the colours most of the screen has, so that only the rest needs writing.
void ScreenPainter::Start(const ScreenModel& screen) {
  // Another program may have written meanwhile: its colours are not known either.
  colors_.reset();
  columns_ = screen.Columns();
  rows_ = screen.Rows();
  const Colors common = MostCommonColors(screen);
  Colors cleared{common.foreground, kUnknownColor};
  if (codes_.ErasesInBackground()) {
    UseColors(common);
    cleared = common;
  }
  out_ += codes_.Clear();
  shown_.assign(static_cast<size_t>(columns_) * rows_, Cell{U' ', cleared});
  cursor_ = {1, 1};
  cursorVisible_.reset();
}

bool ScreenPainter::RowShows(const ScreenModel& screen, int row, int shownRow, Band band) const {
  for (int column = band.left; column <= band.right; ++column)
    if (!LooksSame(Shown(shownRow, column), screen.At(row, column))) return false;
  return true;
}

// From the first to the last column where the terminal shows something else than the model.
ScreenPainter::Band ScreenPainter::ChangedColumns(const ScreenModel& screen) const {
  Band band{columns_ + 1, 0};
  for (int row = 1; row <= rows_; ++row)
    for (int column = 1; column <= columns_; ++column)
      if (!LooksSame(Shown(row, column), screen.At(row, column))) {
        band.left = std::min(band.left, column);
        band.right = std::max(band.right, column);
      }
  return band;
}

ScreenPainter::Shift ScreenPainter::FindShift(const ScreenModel& screen, int by, Band band) const {
  Shift best, run;
  for (int row = 1; row <= rows_; ++row) {
    const int from = row + by;
    if (from < 1 || from > rows_ || !RowShows(screen, row, from, band)) {
      run = {};
      continue;
    }
    if (run.first == 0) run = {row, row, by, 0};
    run.last = row;
    if (!RowShows(screen, row, row, band)) ++run.gain;
    if (run.gain > best.gain) best = run;
  }
  return best;
}

// A block of rows that moved by one row, as a list does when its bar steps past the window's
// edge, is scrolled into place: only the row that comes in is painted. Where the terminal has
// side margins only the changed columns scroll, so a frame beside them need not be drawn again.
void ScreenPainter::ScrollShifted(const ScreenModel& screen) {
  Band band{1, columns_};
  if (const Band changed = ChangedColumns(screen);
      changed.left <= changed.right && (changed.left > 1 || changed.right < columns_) &&
      !codes_.ColumnMargins(changed.left, changed.right).empty() && !codes_.ResetColumnMargins().empty())
    band = changed;
  const Shift up = FindShift(screen, 1, band), down = FindShift(screen, -1, band);
  const Shift& shift = up.gain >= down.gain ? up : down;
  const std::string scroll = shift.by > 0 ? codes_.ScrollForward() : codes_.ScrollBackward();
  if (shift.gain < kShortestScrollGain || scroll.empty() || codes_.ScrollRegion(1, rows_).empty()) return;
  const bool margins = band.left > 1 || band.right < columns_;
  if (margins && shift.gain * (band.right - band.left + 1) < kFewestCellsForMargins) return;
  const int top = shift.by > 0 ? shift.first : shift.first - 1;
  const int bottom = shift.by > 0 ? shift.last + 1 : shift.last;
  const int incoming = shift.by > 0 ? bottom : top;
  if (margins) out_ += codes_.ColumnMargins(band.left, band.right);
  out_ += codes_.ScrollRegion(top, bottom);
  cursor_ = {};
  MoveTo(incoming, band.left);
  // The line comes in blank in the current background: make it the one it mostly needs.
  const std::uint8_t background = MostCommonBackground(screen, incoming, band.left, band.right);
  UseColors({colors_ ? colors_->foreground : screen.At(incoming, band.left).colors.foreground, background});
  out_ += scroll;
  MoveShownRows(top, bottom, shift.by, band);
  // The scroll leaves the cursor where the line came in, unless a line feed also returns: the
  // line is painted there before the region goes, saving a move back to it.
  if (scroll != "\n" || codes_.NextLine() != "\n") {
    cursor_ = {incoming, band.left};
    PaintRow(screen, incoming);
  }
  out_ += codes_.ScrollRegion(1, rows_);
  if (margins) out_ += codes_.ResetColumnMargins();
  cursor_ = {};
}

// The line that comes in is blank in the current background, where the terminal erases so.
void ScreenPainter::MoveShownRows(int top, int bottom, int by, Band band) {
  const int width = band.right - band.left + 1;
  const auto cells = [&](int row) {
    return shown_.begin() + static_cast<std::ptrdiff_t>(row - 1) * columns_ + (band.left - 1);
  };
  if (by > 0) {
    for (int row = top; row < bottom; ++row) std::copy_n(cells(row + 1), width, cells(row));
  } else {
    for (int row = bottom; row > top; --row) std::copy_n(cells(row - 1), width, cells(row));
  }
  const int incoming = by > 0 ? bottom : top;
  const bool known = codes_.ErasesInBackground() && colors_;
  const Cell blank{U' ', known ? *colors_ : Colors{0, kUnknownColor}};
  std::fill_n(cells(incoming), width, blank);
}

void ScreenPainter::PaintRow(const ScreenModel& screen, int row) {
  for (int column = 1; column <= columns_;) {
    if (LooksSame(Shown(row, column), screen.At(row, column))) {
      ++column;
    } else if (const int after = EraseRun(screen, row, column)) {
      column = after;
    } else {
      PaintCell(screen, row, column++);
    }
  }
}

// A long stretch of blanks in one background is erased rather than written; returns the
// column after it, or 0 when writing is cheaper.
int ScreenPainter::EraseRun(const ScreenModel& screen, int row, int column) {
  const Cell& first = screen.At(row, column);
  if (!Blank(first) || !codes_.ErasesInBackground()) return 0;
  int lastChanged = column;
  for (int c = column; c <= columns_; ++c) {
    const Cell& wanted = screen.At(row, c);
    if (!Blank(wanted) || wanted.colors.background != first.colors.background) break;
    if (!LooksSame(Shown(row, c), wanted)) lastChanged = c;
  }
  const int count = lastChanged - column + 1;
  const std::string erase = codes_.Erase(count);
  if (erase.empty() || static_cast<int>(erase.size()) + kMoveAfterErase >= count) return 0;
  MoveTo(row, column);
  UseColors({colors_ ? colors_->foreground : first.colors.foreground, first.colors.background});
  out_ += erase;
  for (int c = column; c <= lastChanged; ++c) Shown(row, c) = screen.At(row, c);
  return lastChanged + 1;
}

void ScreenPainter::PaintCell(const ScreenModel& screen, int row, int column) {
  if (row == rows_ && column == columns_ && !codes_.LastCellWritable()) return;
  const Cell& wanted = screen.At(row, column);
  MoveTo(row, column);
  // A blank needs no colour change when the background is right already.
  const bool asIs = Blank(wanted) && colors_ && colors_->background == wanted.colors.background;
  UseColors(asIs ? *colors_ : wanted.colors);
  out_ += codes_.Glyph(wanted.glyph);
  Shown(row, column) = wanted;
  // Past the last column terminals differ in where the cursor stands.
  cursor_ = column < columns_ ? Spot{row, column + 1} : Spot{};
}

void ScreenPainter::PlaceCursor(const ScreenModel& screen) {
  if (screen.cursorVisible) MoveTo(screen.cursor.row, screen.cursor.column);
  if (cursorVisible_ == screen.cursorVisible) return;
  out_ += codes_.ShowCursor(screen.cursorVisible);
  cursorVisible_ = screen.cursorVisible;
}

void ScreenPainter::MoveTo(int row, int column) {
  if (cursor_ == Spot{row, column}) return;
  std::string best = codes_.MoveTo(row, column);
  if (cursor_.row == row) {
    KeepShorter(best, MoveAlongRow(row, cursor_.column, column));
  } else if (cursor_.row != 0 && row > cursor_.row && row - cursor_.row <= kMostLineSteps &&
             !codes_.NextLine().empty()) {
    std::string down;
    for (int r = cursor_.row; r < row; ++r) down += codes_.NextLine();
    KeepShorter(best, column == 1 ? down : down + MoveAlongRow(row, 1, column));
  }
  out_ += best;
  cursor_ = {row, column};
}

// From one column to another on a row: an absolute or relative move, or the cells between
// written again when they already show in the current colours.
std::string ScreenPainter::MoveAlongRow(int row, int from, int to) const {
  std::string best = codes_.MoveToColumn(to);
  if (to < from) {
    if (from - to <= kMostLeftSteps && !codes_.MoveLeftOne().empty()) {
      std::string left;
      for (int c = to; c < from; ++c) left += codes_.MoveLeftOne();
      KeepShorter(best, left);
    }
    return best;
  }
  KeepShorter(best, codes_.MoveRight(to - from));
  KeepShorter(best, Rewrite(row, from, to, best.empty() ? std::string::npos : best.size()));
  return best;
}

std::string ScreenPainter::Rewrite(int row, int from, int to, size_t shorterThan) const {
  // Every cell takes a byte at least: a long gap is never worth writing again.
  if (!colors_ || static_cast<size_t>(to - from) >= shorterThan) return {};
  std::string text;
  for (int c = from; c < to && text.size() < shorterThan; ++c) {
    const Cell& shown = Shown(row, c);
    const bool fits = shown.colors.background == colors_->background &&
                      (Blank(shown) || shown.colors.foreground == colors_->foreground);
    if (!fits) return {};
    text += codes_.Glyph(shown.glyph);
  }
  return text;
}

void ScreenPainter::UseColors(Colors wanted) {
  if (colors_ == wanted) return;
  out_ += codes_.SetColors(colors_, wanted);
  colors_ = wanted;
}

}  // namespace ferrolux
