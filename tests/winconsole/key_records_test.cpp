#include "winconsole/key_records.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "pageio/typed_key.hpp"

namespace ferrolux {
namespace {

using namespace control_keys;

struct KeyCase {
  const char* what;
  KeyRecord record;
  std::vector<Key> expected;
};

TEST(KeyRecords, DecodeIntoTheKeysTheTerminalGives) {
  const Key eAcute = *KeyOfChar(U'\u00e9');
  const KeyCase cases[] = {
      {"letter", {true, 1, 'A', u'a', 0}, {'a'}},
      {"page up", {true, 1, 0x21, 0, 0}, {keys::kPageUp}},
      {"page down", {true, 1, 0x22, 0, 0}, {keys::kPageDown}},
      {"end", {true, 1, 0x23, 0, 0}, {keys::kEnd}},
      {"home", {true, 1, 0x24, 0, 0}, {keys::kHome}},
      {"arrows", {true, 1, 0x26, 0, 0}, {keys::kUp}},
      {"delete even with a character", {true, 1, 0x2E, 0x7F, 0}, {keys::kDelete}},
      {"F1", {true, 1, 0x70, 0, 0}, {keys::Function(1)}},
      {"enter", {true, 1, 0x0D, u'\r', 0}, {keys::kEnter}},
      {"escape", {true, 1, 0x1B, 0x1B, 0}, {keys::kEscape}},
      {"escape without its character", {true, 1, 0x1B, 0, 0}, {keys::kEscape}},
      {"backspace", {true, 1, 0x08, 0x08, 0}, {keys::kBackspace}},
      {"accented letter", {true, 1, 0xDE, u'\u00e9', 0}, {eAcute}},
      {"key released", {false, 1, 'A', u'a', 0}, {}},
      {"shift alone", {true, 1, 0x10, 0, 0x10}, {}},
      {"held key repeats", {true, 3, 'X', u'x', 0}, {'x', 'x', 'x'}},
      {"alt and a letter", {true, 1, 'F', u'f', kLeftAlt}, {keys::kEscape, 'f'}},
      {"alt gr types", {true, 1, 'Q', u'@', kRightAlt | kLeftCtrl}, {'@'}},
      {"alt code given on alt's release", {false, 1, 0x12, u'\u00e9', 0}, {eAcute}},
      {"half a surrogate pair", {true, 1, 0, 0xD83D, 0}, {}},
      {"character outside the set", {true, 1, 0, u'\u4e2d', 0}, {}},
  };
  for (const KeyCase& c : cases) {
    std::deque<Key> keys;
    DecodeKeyRecord(c.record, keys);
    EXPECT_EQ(std::vector<Key>(keys.begin(), keys.end()), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace ferrolux
