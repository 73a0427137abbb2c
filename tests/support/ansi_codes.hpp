#pragma once
// The control sequences of an xterm-like terminal, for painting without a terminal library.

#include <string>

#include "terminal/painter.hpp"
#include "text/charset.hpp"

namespace ferrolux::testing {

class AnsiCodes : public ControlCodes {
 public:
  bool erasesInBackground = true;
  bool canErase = true;
  bool canScroll = true;
  bool sideMargins = false;

  std::string MoveTo(int row, int column) const override {
    return Csi(std::to_string(row) + ";" + std::to_string(column) + "H");
  }
  std::string MoveToColumn(int column) const override { return Csi(std::to_string(column) + "G"); }
  std::string MoveRight(int count) const override { return Csi(count == 1 ? "C" : std::to_string(count) + "C"); }
  std::string MoveLeftOne() const override { return "\b"; }
  std::string NextLine() const override { return "\r\n"; }
  std::string SetColors(std::optional<Colors> from, Colors to) const override {
    std::string parameters;
    if (!from || from->foreground != to.foreground) parameters = Color(to.foreground, 30, 90);
    if (!from || from->background != to.background)
      parameters.append(parameters.empty() ? "" : ";").append(Color(to.background, 40, 100));
    return parameters.empty() ? "" : Csi(parameters + "m");
  }
  std::string Clear() const override { return Csi("H") + Csi("2J"); }
  bool ErasesInBackground() const override { return erasesInBackground; }
  std::string Erase(int count) const override { return canErase ? Csi(std::to_string(count) + "X") : ""; }
  std::string ScrollRegion(int top, int bottom) const override {
    return canScroll ? Csi(std::to_string(top) + ";" + std::to_string(bottom) + "r") : "";
  }
  std::string ScrollForward() const override { return "\n"; }
  std::string ScrollBackward() const override { return "\x1bM"; }
  std::string ColumnMargins(int left, int right) const override {
    return sideMargins ? Csi("?69h") + Csi(std::to_string(left) + ";" + std::to_string(right) + "s") : "";
  }
  std::string ResetColumnMargins() const override { return sideMargins ? Csi("?69l") : ""; }
  std::string ShowCursor(bool visible) const override { return Csi(visible ? "?25h" : "?25l"); }
  std::string Glyph(char32_t glyph) const override {
    std::string out;
    AppendUtf8(out, glyph);
    return out;
  }
  bool LastCellWritable() const override { return true; }

 private:
  static std::string Csi(const std::string& rest) { return "\x1b[" + rest; }
  static std::string Color(int console, int base, int brightBase) {
    const int color = TerminalColor(console);
    return std::to_string((color & 8 ? brightBase : base) + (color & 7));
  }
};

}  // namespace ferrolux::testing
