#include "console/console.hpp"

#include <algorithm>
#include <cstdio>

#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux {

using std::chrono::milliseconds;

namespace {
constexpr size_t kMaxInputLine = 10000;

// A typed key's byte anywhere in the set; a key without a character as NUL and its scan code.
bool Allows(std::string_view allowed, const Key& key) { return allowed.find(key.Text()) != std::string_view::npos; }

}  // namespace

Console::Console(Terminal& terminal, Keyboard& keyboard, Clock& clock)
    : terminal_(terminal), keyboard_(keyboard), clock_(clock) {}

Console::~Console() {
  try {
    LeavePage();
  } catch (...) {
    // The terminal is put back by its own destructor; nothing is left to show here.
  }
}

void Console::UsePage(int /*page*/) {
  // The program only ever uses one page of its own; it starts blank at the current size.
  if (onOwnPage_) return;
  ownPage_ = ScreenModel(startScreen_.Columns(), startScreen_.Rows());
  ownPage_.cursorVisible = startScreen_.cursorVisible;
  terminal_.TakePage();
  onOwnPage_ = true;
}

void Console::LeavePage() {
  if (!onOwnPage_) return;
  terminal_.ReleasePage();
  onOwnPage_ = false;
}

void Console::SetTitle(std::string_view title) { terminal_.SetTitle(title); }

void Console::SetScreenSize(int columns, int rows) {
  MutableScreen().Resize(columns, rows);
  if (onOwnPage_) terminal_.SetSize(columns, rows);
}

void Console::SetColor(int foreground, int background) {
  if (foreground >= 0 && foreground < 16) colors_.foreground = static_cast<std::uint8_t>(foreground);
  if (background >= 0 && background < 16) colors_.background = static_cast<std::uint8_t>(background);
}

void Console::HideCursor() { MutableScreen().cursorVisible = false; }

void Console::ClearScreen() {
  ScreenModel& screen = MutableScreen();
  screen.Fill(colors_);
  screen.cursor = {1, 1};
  if (!onOwnPage_) terminal_.StreamClear(colors_);
}

void Console::Locate(int row, int column) {
  ScreenModel& screen = MutableScreen();
  screen.cursor.row = std::clamp(row, 1, screen.Rows());
  screen.cursor.column = std::clamp(column, 1, screen.Columns());
}

void Console::AdvanceRow() {
  ScreenModel& screen = MutableScreen();
  screen.cursor.column = 1;
  if (screen.cursor.row < screen.Rows()) {
    ++screen.cursor.row;
  } else {
    screen.ScrollUp(colors_);
  }
}

void Console::PutGlyph(char32_t glyph) {
  ScreenModel& screen = MutableScreen();
  screen.Put(screen.cursor.row, screen.cursor.column, Cell{glyph, colors_});
  if (++screen.cursor.column > screen.Columns()) AdvanceRow();
}

void Console::PrintText(std::string_view text) {
  std::u32string glyphs;
  glyphs.reserve(text.size());
  for (char byte : text) glyphs += TextGlyph(static_cast<unsigned char>(byte));
  for (char32_t glyph : glyphs) PutGlyph(glyph);
  if (!onOwnPage_) terminal_.StreamText(glyphs, colors_);
}

void Console::PrintFrame(unsigned char cp437, int count) {
  const std::u32string glyphs(count > 0 ? count : 0, Cp437Glyph(cp437));
  for (char32_t glyph : glyphs) PutGlyph(glyph);
  if (!onOwnPage_) terminal_.StreamText(glyphs, colors_);
}

void Console::PrintNumber(double value, int digits) { PrintText(PrintedNumberText(value, digits)); }

void Console::PrintLineEnd() {
  AdvanceRow();
  if (!onOwnPage_) terminal_.StreamLineEnd();
}

void Console::Beep() { terminal_.Beep(); }

std::optional<Key> Console::WaitAllowed(std::string_view allowed, milliseconds limit) {
  Flush();
  const auto start = clock_.Monotonic();
  for (;;) {
    std::optional<milliseconds> remaining;
    if (limit > milliseconds{0}) {
      remaining = limit - std::chrono::duration_cast<milliseconds>(clock_.Monotonic() - start);
      if (*remaining <= milliseconds{0}) return {};
    }
    const std::optional<Key> key = keyboard_.ReadKey(remaining);
    if (!key) {
      if (remaining) return {};
      continue;
    }
    if (allowed.empty() || Allows(allowed, *key)) return key;
    Beep();
  }
}

std::string Console::WaitKey(std::string_view allowed, milliseconds limit) {
  const std::optional<Key> key = WaitAllowed(allowed, limit);
  return key ? key->Text() : std::string();
}

// Without a limit the wait only ends with a key.
Key Console::NextKey() { return *WaitAllowed({}, milliseconds{0}); }

void Console::StepBack() {
  ScreenModel& screen = MutableScreen();
  if (screen.cursor.column > 1) {
    --screen.cursor.column;
  } else if (screen.cursor.row > 1) {
    --screen.cursor.row;
    screen.cursor.column = screen.Columns();
  }
}

namespace {

// Where the field starts showing the text: it holds the text's tail and, after it, the cursor.
size_t FirstShown(size_t length, int width) {
  const auto room = static_cast<size_t>(width - 1);
  return length > room ? length - room : 0;
}

}  // namespace

void Console::RedrawField(const InputField& field, const std::string& held, size_t firstShown) {
  ScreenModel& screen = MutableScreen();
  const int shown = static_cast<int>(held.size() - firstShown);
  for (int i = 0; i < field.width; ++i) {
    const char32_t glyph = i < shown ? TextGlyph(static_cast<unsigned char>(held[firstShown + i])) : U' ';
    screen.Put(field.row, field.column + i, Cell{glyph, colors_});
  }
  screen.cursor = {field.row, field.column + shown};
}

void Console::EchoTyped(const InputField& field, const std::string& held) {
  const size_t firstShown = FirstShown(held.size(), field.width);
  if (!onOwnPage_ || firstShown == 0) {
    PrintText(std::string_view(held).substr(held.size() - 1));
  } else {
    RedrawField(field, held, firstShown);
  }
}

void Console::EraseTyped(const InputField& field, const std::string& held) {
  if (onOwnPage_ && FirstShown(held.size() + 1, field.width) > 0) {
    RedrawField(field, held, FirstShown(held.size(), field.width));
    return;
  }
  ScreenModel& screen = MutableScreen();
  StepBack();
  screen.Put(screen.cursor.row, screen.cursor.column, Cell{U' ', colors_});
}

std::string Console::InputLine(int lastColumn) {
  ScreenModel& screen = MutableScreen();
  const bool wasHidden = !screen.cursorVisible;
  screen.cursorVisible = true;
  const int fieldEnd = std::min(lastColumn, screen.Columns());
  const InputField field{screen.cursor.row, screen.cursor.column, std::max(fieldEnd - screen.cursor.column + 1, 1)};
  std::string held;
  for (;;) {
    Flush();
    const std::optional<Key> key = keyboard_.ReadKey(std::nullopt);
    if (!key || !key->IsTyped()) continue;
    if (*key == keys::kEnter) break;
    if (*key == keys::kBackspace) {
      if (held.empty()) continue;
      held.pop_back();
      EraseTyped(field, held);
      continue;
    }
    // A key past the limit, like any ignored key, leaves the screen as it is.
    const char code = key->Typed();
    if (static_cast<unsigned char>(code) < 32 || held.size() >= kMaxInputLine) continue;
    held += code;
    EchoTyped(field, held);
  }
  PrintLineEnd();
  MutableScreen().cursorVisible = !wasHidden;
  return held;
}

std::string FormatDate(const LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", time.month, time.day, time.year);
  return text;
}

std::string FormatTime(const LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

std::string Console::DateText() { return FormatDate(clock_.Now()); }
std::string Console::TimeText() { return FormatTime(clock_.Now()); }

void Console::Flush() {
  if (onOwnPage_) terminal_.Show(ownPage_);
}

}  // namespace ferrolux
