// What the painter sends, fed to a real terminal emulator, shows exactly the screen model,
// through a long run of the kinds of change the program's screens make.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vterm.h>

#include "console/painter.hpp"
#include "support/ansi_codes.hpp"

namespace ferrolux::e2e {
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

// One change of the kinds the screens make: text, a cleared block, a scroll, the cursor.
void Change(ScreenModel& screen, std::mt19937& random) {
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const Colors colors = kPalette[pick(0, std::size(kPalette) - 1)];
  const int row = pick(1, kRows), column = pick(1, kColumns);
  switch (pick(0, 5)) {
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

TEST(PainterOnATerminal, EveryPaintShowsTheModelExactly) {
  for (const bool canErase : {true, false}) {
    testing::AnsiCodes codes;
    codes.canErase = canErase;
    ScreenPainter painter(codes);
    Emulator terminal;
    ScreenModel screen(kColumns, kRows);
    screen.Fill({15, 1});
    std::mt19937 random(11);
    terminal.Feed(painter.Paint(screen, true));
    for (int step = 0; step < kSteps; ++step) {
      Change(screen, random);
      terminal.Feed(painter.Paint(screen, false));
      ASSERT_EQ(terminal.Difference(screen), "") << "step " << step << (canErase ? "" : " without erase");
      ASSERT_TRUE(!screen.cursorVisible || terminal.CursorAt(screen.cursor)) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace ferrolux::e2e
