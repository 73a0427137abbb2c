#include "terminal/curses_codes.hpp"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include <curses.h>
#include <term.h>

#include "text/charset.hpp"

namespace ferrolux {

namespace {

constexpr int kBright = 8;
constexpr int kBaseColors = 8;
// Without colours, the pairs the program uses to pick something out (a red background: the
// selected row, the lists' frames, the closing question) are shown in reverse video.
constexpr int kPageBackground = 1;
constexpr int kBlack = 0;
// Mode 69 is DECLRMM, which lets DECSLRM set side margins.
constexpr int kSideMarginsMode = 69;
constexpr int kModeSet = 1, kModeReset = 2;

// Padding ($<5>, $<2*/>) only asks for delays that no terminal of today needs; written as it
// stands it would show.
std::string WithoutPadding(std::string text) {
  for (size_t start = text.find("$<"); start != std::string::npos; start = text.find("$<", start)) {
    const size_t end = text.find_first_not_of("0123456789.*/", start + 2);
    if (end == std::string::npos || text[end] != '>') {
      start += 2;
      continue;
    }
    text.erase(start, end + 1 - start);
  }
  return text;
}

// A string capability, or "" when the terminal has none.
std::string Capability(const char* name) {
  const char* value = tigetstr(name);
  if (value == nullptr || value == reinterpret_cast<const char*>(-1)) return {};
  return WithoutPadding(value);
}

bool Flag(const char* name) { return tigetflag(name) > 0; }

std::string WithParameters(const std::string& capability, int first, int second = 0) {
  if (capability.empty()) return {};
  const char* value = tiparm(capability.c_str(), first, second);
  return value != nullptr ? WithoutPadding(value) : "";
}

// The terminal's own newline translation already returns to column 1.
bool NewlineReturns() {
  struct termios modes {};
  return tcgetattr(STDOUT_FILENO, &modes) == 0 && (modes.c_oflag & OPOST) && (modes.c_oflag & ONLCR);
}

// Line drawing as the VT100 alternate character set names it; double lines as single.
char AltCharOf(char32_t glyph) {
  switch (glyph) {
    case U'┌':
    case U'╔': return 'l';
    case U'┐':
    case U'╗': return 'k';
    case U'└':
    case U'╚': return 'm';
    case U'┘':
    case U'╝': return 'j';
    case U'─':
    case U'═': return 'q';
    case U'│':
    case U'║': return 'x';
    case U'╠': return 't';
    case U'╣': return 'u';
    default: return 0;
  }
}

// Two plain SGR sequences as one (ESC [ 93 m and ESC [ 44 m give ESC [ 93 ; 44 m).
std::string JoinedSgr(const std::string& first, const std::string& second) {
  const auto plain = [](const std::string& sgr) {
    return sgr.size() > 3 && sgr.compare(0, 2, "\x1b[") == 0 && sgr.back() == 'm' &&
           sgr.find_first_not_of("0123456789;", 2) == sgr.size() - 1;
  };
  if (!plain(first) || !plain(second)) return first + second;
  return first.substr(0, first.size() - 1) + ";" + second.substr(2);
}

}  // namespace

std::optional<std::string> TerminalTypeProblem() {
  static const std::string kWhatToDo = ": set TERM to the terminal's real type (for example xterm-256color)";
  const char* type = std::getenv("TERM");
  if (type == nullptr || *type == '\0') return "TERM is not set" + kWhatToDo;
  const std::string named = std::string("the terminal type \"") + type + "\"";
  int error = 0;
  if (setupterm(type, STDOUT_FILENO, &error) != OK) return named + " is not known here" + kWhatToDo;
  // A hardcopy or "dumb" terminal can only print lines, one after the other.
  const bool placesCursor = !Capability("cup").empty() && !Flag("hc");
  del_curterm(cur_term);
  if (!placesCursor) return named + " cannot place the cursor" + kWhatToDo;
  return std::nullopt;
}

TerminfoCodes::TerminfoCodes(bool utf8) : utf8_(utf8) {
  const int colors = tigetnum("colors");
  monochrome_ = colors < kBaseColors;
  brightByBold_ = colors < kColors;
  // Erasing uses the background colour, never the reverse video that stands in for it.
  erasesInBackground_ = Flag("bce") && !monochrome_;
  lastCellWritable_ = !Flag("am") || Flag("xenl");
  move_ = Capability("cup");
  moveToColumn_ = Capability("hpa");
  moveRight_ = Capability("cuf");
  moveRightOne_ = Capability("cuf1");
  moveLeftOne_ = Capability("cub1");
  erase_ = Capability("ech");
  scrollRegion_ = Capability("csr");
  scrollForward_ = Capability("ind");
  scrollBackward_ = Capability("ri");
  // Side margins are only used where they can be cleared again.
  columnMargins_ = Capability("smglr");
  resetMargins_ = Capability("mgc");
  if (resetMargins_.empty()) columnMargins_.clear();
  nextLine_ = NewlineReturns() ? "\n" : Capability("cr") + "\n";
  clear_ = Capability("clear");
  showCursor_ = Capability("cnorm");
  hideCursor_ = Capability("civis");
  plain_ = Capability("sgr0");
  bold_ = Capability("bold");
  reverse_ = Capability("rev");
  if (reverse_.empty()) reverse_ = Capability("smso");
  enterPage_ = Capability("smcup");
  leavePage_ = Capability("rmcup");
  keypadOn_ = Capability("smkx");
  keypadOff_ = Capability("rmkx");
  // xterm's entries push the title on the title stack as they enter the page, and pop it.
  pageKeepsTitle_ =
      enterPage_.find("\x1b[22;") != std::string::npos && leavePage_.find("\x1b[23;") != std::string::npos;
  altCharsOn_ = Capability("smacs");
  altCharsOff_ = Capability("rmacs");
  if (colors < kBaseColors) return;
  const std::string setForeground = Capability("setaf"), setBackground = Capability("setab");
  for (int c = 0; c < kColors; ++c) {
    const int shown = brightByBold_ ? TerminalColor(c) % kBaseColors : TerminalColor(c);
    foreground_[c] = WithParameters(setForeground, shown);
    background_[c] = WithParameters(setBackground, shown);
  }
}

std::string TerminfoCodes::MoveTo(int row, int column) const {
  constexpr int kRowStride = 1 << 16;
  const auto [at, added] = moves_.try_emplace(row * kRowStride + column);
  if (added) at->second = WithParameters(move_, row - 1, column - 1);
  return at->second;
}

// A capability of one parameter expanded once for each value from 0 up.
std::string TerminfoCodes::Expanded(std::vector<std::string>& expansions, const std::string& capability,
                                    int parameter) {
  if (parameter < 0) return WithParameters(capability, parameter);
  if (expansions.size() <= static_cast<size_t>(parameter)) expansions.resize(static_cast<size_t>(parameter) + 1);
  std::string& expansion = expansions[static_cast<size_t>(parameter)];
  if (expansion.empty()) expansion = WithParameters(capability, parameter);
  return expansion;
}

std::string TerminfoCodes::MoveToColumn(int column) const { return Expanded(columnMoves_, moveToColumn_, column - 1); }

std::string TerminfoCodes::MoveRight(int count) const {
  if (count == 1 && !moveRightOne_.empty()) return moveRightOne_;
  return Expanded(rightMoves_, moveRight_, count);
}

std::string TerminfoCodes::Erase(int count) const { return Expanded(erases_, erase_, count); }

std::string TerminfoCodes::ScrollRegion(int top, int bottom) const {
  return WithParameters(scrollRegion_, top - 1, bottom - 1);
}

std::string TerminfoCodes::ColumnMargins(int left, int right) const {
  return marginsConfirmed_ ? WithParameters(columnMargins_, left - 1, right - 1) : "";
}

// CSI ? 69 $ p (DECRQM) asks for the mode; the answer is CSI ? 69 ; setting $ y.
std::string TerminfoCodes::SideMarginsQuery() const { return columnMargins_.empty() ? "" : "\x1b[?69$p"; }

bool ConfirmsSideMargins(ModeReport report) {
  return report.mode == kSideMarginsMode && (report.setting == kModeSet || report.setting == kModeReset);
}

std::string TerminfoCodes::LeavePage(int rows) const {
  return WithParameters(move_, rows - 1, 0) + leavePage_ + keypadOff_;
}

std::string TerminfoCodes::EnterPage(int rows) const {
  return enterPage_ + WithParameters(scrollRegion_, 0, rows - 1) + keypadOn_;
}

std::string TerminfoCodes::Attributes(Colors to) const {
  const bool standsOut = to.background != kPageBackground && to.background != kBlack;
  return plain_ + ((to.foreground & kBright) ? bold_ : "") + (standsOut ? reverse_ : "");
}

// Without sixteen colours, bright foregrounds are bold; leaving bold resets both halves.
std::string TerminfoCodes::BrightnessChange(Colors to) const {
  return plain_ + ((to.foreground & kBright) ? bold_ : "") + foreground_[to.foreground % kColors] +
         background_[to.background % kColors];
}

std::string TerminfoCodes::SetColors(std::optional<Colors> from, Colors to) const {
  if (monochrome_) {
    const std::string wanted = Attributes(to);
    return from && Attributes(*from) == wanted ? std::string() : wanted;
  }
  const bool brightnessChanges = !from || ((from->foreground ^ to.foreground) & kBright);
  if (brightByBold_ && brightnessChanges) return BrightnessChange(to);
  std::string foreground, background;
  if (!from || from->foreground != to.foreground) foreground = foreground_[to.foreground % kColors];
  if (!from || from->background != to.background) background = background_[to.background % kColors];
  return JoinedSgr(foreground, background);
}

std::string TerminfoCodes::Glyph(char32_t glyph) const {
  std::string out;
  if (utf8_) {
    AppendUtf8(out, glyph);
  } else if (const char alt = AltCharOf(glyph); alt != 0) {
    out = altCharsOn_ + static_cast<char>(NCURSES_ACS(alt) & A_CHARTEXT) + altCharsOff_;
  } else {
    out = glyph < 128 ? static_cast<char>(glyph) : '?';
  }
  return out;
}

}  // namespace ferrolux
