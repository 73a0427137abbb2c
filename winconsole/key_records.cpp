#include "winconsole/key_records.hpp"

#include <algorithm>
#include <optional>

#include "pageio/typed_key.hpp"

namespace ferrolux {

namespace {

constexpr std::uint16_t kVkMenu = 0x12;  // Alt: released, it carries a character typed by its code
constexpr std::uint16_t kVkF1 = 0x70;
constexpr std::uint16_t kVkF10 = 0x79;

// The keys named by their virtual-key codes: those without a character, and those whose
// character a console may leave out (Escape comes with none).
std::optional<Key> NamedKey(std::uint16_t virtualKey) {
  switch (virtualKey) {
    case 0x08: return keys::kBackspace;
    case 0x09: return keys::kTab;
    case 0x0D: return keys::kEnter;
    case 0x1B: return keys::kEscape;
    case 0x21: return keys::kPageUp;
    case 0x22: return keys::kPageDown;
    case 0x23: return keys::kEnd;
    case 0x24: return keys::kHome;
    case 0x25: return keys::kLeft;
    case 0x26: return keys::kUp;
    case 0x27: return keys::kRight;
    case 0x28: return keys::kDown;
    case 0x2D: return keys::kInsert;
    case 0x2E: return keys::kDelete;
    default: break;
  }
  if (virtualKey >= kVkF1 && virtualKey <= kVkF10) return keys::Function(virtualKey - kVkF1 + 1);
  return std::nullopt;
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

std::optional<Key> CharacterKey(char16_t unit) {
  if (unit == 0 || IsSurrogate(unit)) return std::nullopt;
  return KeyOfChar(unit);
}

// AltGr is Right Alt with Left Ctrl: it types characters, it is not Alt.
bool WithAlt(std::uint32_t state) {
  using namespace control_keys;
  return (state & (kLeftAlt | kRightAlt)) != 0 && (state & (kLeftCtrl | kRightCtrl)) == 0;
}

}  // namespace

void DecodeKeyRecord(const KeyRecord& record, std::deque<Key>& keys) {
  if (!record.keyDown) {
    if (record.virtualKeyCode != kVkMenu) return;
    if (const std::optional<Key> typed = CharacterKey(record.character)) keys.push_back(*typed);
    return;
  }
  const std::optional<Key> named = NamedKey(record.virtualKeyCode);
  const std::optional<Key> key = named ? named : CharacterKey(record.character);
  if (!key) return;
  const bool alt = !named && WithAlt(record.controlKeyState);
  for (int i = 0; i < std::max<int>(record.repeatCount, 1); ++i) {
    if (alt) keys.push_back(keys::kEscape);
    keys.push_back(*key);
  }
}

}  // namespace ferrolux
