// What the painter sends, fed to a real terminal emulator, shows exactly the screen model,
// through a long run of the kinds of change the program's screens make.
#include <gtest/gtest.h>

#include <vterm.h>
#include <algorithm>
#include <random>
#include <string>

#include "support/ansi_codes.hpp"
#include "terminal/painter.hpp"

namespace ferrolux {
namespace {

constexpr int kColumns = 120, kRows = 43;
constexpr int kSteps = 400;
const Colors kPalette[] = {{15, 1}, {14, 1}, {7, 1}, {15, 4}, {14, 4}, {7, 0}};
const char32_t kGlyphs[] = {U'a', U'Z', U'7', U'.', U' ', U'═', U'║', U'╔', U'─', U'│', U'é', U'◘'};

class Emulator {
 public:
  Emulator() : vterm_(vterm_new(kRows, kColumns)) {
    vterm_set_utf8(vterm_, 1);
    screen_ = vterm_obtain_screen(vterm_);
    vterm_screen_reset(screen_, 1);
  }
  ~Emulator() { vterm_free(vterm_); }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  void Feed(const std::string& bytes) { vterm_input_write(vterm_, bytes.data(), bytes.size()); }

  // The first difference from the model, or "".
  std::string Difference(const ScreenModel& model) const {
    for (int row = 1; row <= kRows; ++row)
      for (int column = 1; column <= kColumns; ++column) {
        const Cell& wanted = model.At(row, column);
        VTermScreenCell cell{};
        vterm_screen_get_cell(screen_, VTermPos{row - 1, column - 1}, &cell);
        const char32_t glyph = cell.chars[0] == 0 ? U' ' : cell.chars[0];
        const bool sameBackground = Color(cell.bg) == wanted.colors.background;
        const bool sameForeground = wanted.glyph == U' ' || Color(cell.fg) == wanted.colors.foreground;
        if (glyph != wanted.glyph || !sameBackground || !sameForeground)
          return "cell " + std::to_string(row) + "," + std::to_string(column);
      }
    return {};
  }

  bool CursorAt(Position position) const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &pos);
    return pos.row == position.row - 1 && pos.col == position.column - 1;
  }

 private:
  static int Color(VTermColor color) {
    return VTERM_COLOR_IS_INDEXED(&color) ? TerminalColor(color.indexed.idx & 15) : -1;
  }
  VTerm* vterm_;
  VTermScreen* screen_;
};

// Rows first to last take the contents of the row below (by 1) or above (by -1) in columns
// left to right, as a list's rows do when its bar steps past the window's edge.
void ShiftRows(ScreenModel& screen, int first, int last, int by, int left, int right) {
  const auto copyRow = [&](int to, int from) {
    for (int c = left; c <= right; ++c) screen.Put(to, c, screen.At(from, c));
  };
  if (by > 0) {
    for (int r = first; r <= last; ++r) copyRow(r, r + 1);
  } else {
    for (int r = last; r >= first; --r) copyRow(r, r - 1);
  }
}

// One change of the kinds the screens make: text, a cleared block, a scroll, the cursor.
void Change(ScreenModel& screen, std::mt19937& random) {
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const Colors colors = kPalette[pick(0, std::size(kPalette) - 1)];
  const int row = pick(2, kRows - 1), column = pick(1, kColumns);
  switch (pick(0, 6)) {
    case 6: {
      const int by = pick(0, 1) == 1 ? 1 : -1;
      const int last = std::min(kRows - 1, row + pick(3, 30));
      const bool wholeRows = pick(0, 1) == 1;
      ShiftRows(screen, row, last, by, wholeRows ? 1 : column, wholeRows ? kColumns : std::min(kColumns, column + 30));
      screen.Put(by > 0 ? last : row, column, Cell{U'n', colors});
      break;
    }
    case 0:
    case 1:
      for (int i = pick(1, 40); i > 0 && column + i <= kColumns; --i)
        screen.Put(row, column + i, Cell{kGlyphs[pick(0, std::size(kGlyphs) - 1)], colors});
      break;
    case 2:
      for (int r = row; r < row + pick(1, 10); ++r)
        for (int c = column; c <= kColumns; ++c) screen.Put(r, c, Cell{U' ', colors});
      break;
    case 3: screen.ScrollUp(colors); break;
    case 4: screen.Fill(colors); break;
    default:
      screen.cursor = {row, column};
      screen.cursorVisible = pick(0, 1) == 1;
      break;
  }
}

// Every row different, so that a row painted from a wrong idea of the terminal shows.
void Scatter(ScreenModel& screen, std::mt19937& random) {
  screen.Fill({15, 1});
  for (int row = 1; row <= kRows; ++row)
    for (int column = 1; column <= kColumns; column += 1 + static_cast<int>(random() % 4))
      screen.Put(row, column, Cell{kGlyphs[random() % std::size(kGlyphs)], kPalette[random() % std::size(kPalette)]});
}

TEST(PainterOnATerminal, EveryPaintShowsTheModelExactly) {
  struct Terminal {
    bool able, sideMargins;
  };
  for (const auto [able, sideMargins] : {Terminal{true, false}, Terminal{false, false}, Terminal{true, true}}) {
    testing::AnsiCodes codes;
    codes.canErase = able;
    codes.canScroll = able;
    codes.sideMargins = sideMargins;
    ScreenPainter painter(codes);
    Emulator terminal;
    ScreenModel screen(kColumns, kRows);
    std::mt19937 random(11);
    Scatter(screen, random);
    terminal.Feed(painter.Paint(screen, true));
    int scrolls = 0;
    for (int step = 0; step < kSteps; ++step) {
      Change(screen, random);
      const std::string bytes = painter.Paint(screen, false);
      if (bytes.find("r\x1b[") != std::string::npos) ++scrolls;  // a region set and reset
      terminal.Feed(bytes);
      ASSERT_EQ(terminal.Difference(screen), "") << "step " << step << (able ? "" : " without erase and scroll");
      ASSERT_TRUE(!screen.cursorVisible || terminal.CursorAt(screen.cursor)) << "step " << step;
    }
    EXPECT_EQ(scrolls > 0, able) << scrolls << " scrolls";
  }
}

}  // namespace
}  // namespace ferrolux
