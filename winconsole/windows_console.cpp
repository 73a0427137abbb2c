#include "winconsole/windows_console.hpp"

#include <algorithm>
#include <csignal>

#include "text/charset.hpp"
#include "winconsole/key_records.hpp"

namespace ferrolux {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::uint16_t AttributeOf(Colors colors) {
  return static_cast<std::uint16_t>((colors.foreground & 0x0F) | ((colors.background & 0x0F) << 4));
}

// A cell holds one UTF-16 unit; what needs two, or is a control character, shows as '?'.
char16_t CellGlyph(char32_t glyph) {
  const bool control = glyph < 0x20 || (glyph >= 0x7F && glyph < 0xA0);
  const bool outsideBasicPlane = glyph > 0xFFFF || (glyph >= 0xD800 && glyph <= 0xDFFF);
  return control || outsideBasicPlane ? u'?' : static_cast<char16_t>(glyph);
}

std::u16string Utf16Of(std::u32string_view glyphs) {
  std::u16string text;
  for (char32_t glyph : glyphs) text += CellGlyph(glyph);
  return text;
}

}  // namespace

WindowsConsole::WindowsConsole(std::unique_ptr<ConsoleApi> api) : api_(std::move(api)) {}

WindowsConsole::~WindowsConsole() {
  if (onPage_) ReleasePage();
}

// The start colours stand for the console's own, as a terminal's default colours do.
std::optional<std::uint16_t> WindowsConsole::StreamAttribute(Colors colors) const {
  if (released_ || colors == kStartColors) return std::nullopt;
  return AttributeOf(colors);
}

void WindowsConsole::StreamText(std::u32string_view glyphs, Colors colors) {
  api_->WriteStart(Utf16Of(glyphs), StreamAttribute(colors));
}

void WindowsConsole::StreamLineEnd() { api_->WriteStart(u"\r\n", std::nullopt); }

void WindowsConsole::StreamClear(Colors colors) { api_->ClearStart(StreamAttribute(colors)); }

void WindowsConsole::TakePage() {
  if (onPage_) return;
  api_->MakePage();
  onPage_ = true;
  page_.Take();
  FollowWindowSize();
}

void WindowsConsole::ReleasePage() {
  if (!onPage_) return;
  PaintPending();
  api_->ShowStart();
  page_.Release();
  onPage_ = false;
  released_ = true;
}

void WindowsConsole::SetTitle(std::string_view singleByteTitle) {
  std::u32string glyphs;
  for (char byte : singleByteTitle) glyphs += TextGlyph(static_cast<unsigned char>(byte));
  api_->SetTitle(Utf16Of(glyphs));
}

void WindowsConsole::SetSize(int columns, int rows) {
  page_.Want(columns, rows);
  if (onPage_) api_->ResizePage({columns, rows});
  FollowWindowSize();
}

void WindowsConsole::Beep() { api_->Beep(); }

void WindowsConsole::Show(const ScreenModel& screen) { page_.Show(screen); }

void WindowsConsole::FollowWindowSize() {
  const ConsoleSize size = api_->WindowSize();
  if (size.columns > 0 && size.rows > 0) page_.Measured(size.columns, size.rows);
}

void WindowsConsole::PaintPending() {
  if (const std::optional<PageKeeper::Picture> picture = page_.Pending()) Paint(*picture->model, picture->fresh);
}

// Only the runs of cells that changed are written; a fresh picture blanks what lies outside it.
void WindowsConsole::Paint(const ScreenModel& model, bool fresh) {
  if (fresh && (model.Columns() < page_.Columns() || model.Rows() < page_.Rows())) {
    const std::vector<CharCell> blank(static_cast<size_t>(page_.Columns()), CharCell{u' ', AttributeOf(kStartColors)});
    for (int row = 0; row < page_.Rows(); ++row) api_->WriteCells(row, 0, blank);
  }
  for (const CellRun& run : shownCells_.Changes(model, fresh)) {
    std::vector<CharCell> cells;
    cells.reserve(run.cells.size());
    for (const Cell& cell : run.cells) cells.push_back({CellGlyph(cell.glyph), AttributeOf(cell.colors)});
    api_->WriteCells(run.row - 1, run.column - 1, cells);
  }
  api_->PlaceCursor(model.cursor.row - 1, model.cursor.column - 1, model.cursorVisible);
}

// The handler only records; here the run ends, as after SIGINT or SIGHUP elsewhere.
void WindowsConsole::ActOnControlEvents() {
  switch (api_->TakeControlEvent()) {
    case ControlEvent::kNone: return;
    case ControlEvent::kInterrupt: throw EndRequested{SIGINT, false};
    case ControlEvent::kClose: page_.TerminalGone(); throw EndRequested{0, true};
  }
}

void WindowsConsole::ActOnPendingSignals() {
  ActOnControlEvents();
  if (page_.RepaintWanted()) PaintPending();
}

// Every record waiting is decoded at once; false when none was.
bool WindowsConsole::TakeWaiting() {
  const std::vector<InputRecord> records = api_->ReadWaiting();
  for (const InputRecord& record : records) {
    if (record.kind == InputRecord::Kind::kKey) DecodeKeyRecord(record.key, keys_);
    if (record.kind == InputRecord::Kind::kBufferSize) {
      FollowWindowSize();
      page_.RepaintAll();
    }
  }
  return !records.empty();
}

// Keys are handed out while any are waiting; only when the next read would block is the
// page painted, so a pasted line is painted once.
std::optional<Key> WindowsConsole::ReadKey(std::optional<milliseconds> limit) {
  const TimePoint until = steady_clock::now() + limit.value_or(milliseconds(0));
  for (;;) {
    ActOnControlEvents();
    if (!keys_.empty()) {
      const Key key = keys_.front();
      keys_.pop_front();
      if (page_.Passes(key)) return key;
      continue;
    }
    if (TakeWaiting()) continue;
    PaintPending();
    const milliseconds left = std::chrono::ceil<milliseconds>(until - steady_clock::now());
    const ConsoleWait woken = api_->WaitForInput(limit ? std::optional(std::max(left, milliseconds(0))) : std::nullopt);
    if (woken == ConsoleWait::kTimeOut && limit && steady_clock::now() >= until) return std::nullopt;
  }
}

}  // namespace ferrolux
