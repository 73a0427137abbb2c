#include "console/headless.hpp"

#include "text/charset.hpp"

namespace ferrolux {

void HeadlessTerminal::StreamText(std::u32string_view glyphs, Colors /*colors*/) {
  for (char32_t glyph : glyphs) AppendUtf8(streamLines.back(), glyph);
}

void HeadlessTerminal::StreamLineEnd() { streamLines.emplace_back(); }

void HeadlessTerminal::StreamClear(Colors /*colors*/) {
  streamLines.assign(1, "");
  ++streamClears;
}

void HeadlessTerminal::Show(const ScreenModel& screen) {
  ++shows;
  shownCursor = screen.cursor;
  if (shownVersion_ == screen.Version()) return;
  shownVersion_ = screen.Version();
  ++repaints;
}

ScriptedKeyboard& ScriptedKeyboard::Key(ferrolux::Key key) {
  events_.push_back({key, {}});
  return *this;
}

ScriptedKeyboard& ScriptedKeyboard::Keys(const std::vector<ferrolux::Key>& keys) {
  for (const ferrolux::Key& key : keys) Key(key);
  return *this;
}

ScriptedKeyboard& ScriptedKeyboard::Type(const std::string& text) {
  for (char c : text) Key(c);
  return *this;
}

ScriptedKeyboard& ScriptedKeyboard::Line(const std::string& text) { return Type(text).Key(keys::kEnter); }

ScriptedKeyboard& ScriptedKeyboard::Pause(std::chrono::milliseconds length) {
  if (length > std::chrono::milliseconds{0}) events_.push_back({std::nullopt, length});
  return *this;
}

std::optional<ferrolux::Key> ScriptedKeyboard::ReadKey(std::optional<std::chrono::milliseconds> limit) {
  ++reads;
  for (;;) {
    if (events_.empty()) throw ScriptExhausted();
    Event& next = events_.front();
    if (next.key) {
      const ferrolux::Key key = *next.key;
      events_.pop_front();
      return key;
    }
    if (limit && *limit <= next.pause) {
      clock_.Advance(*limit);
      next.pause -= *limit;
      if (next.pause <= std::chrono::milliseconds{0}) events_.pop_front();
      return std::nullopt;
    }
    clock_.Advance(next.pause);
    events_.pop_front();
  }
}

}  // namespace ferrolux
