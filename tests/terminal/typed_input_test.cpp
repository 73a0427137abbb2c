#include "terminal/typed_input.hpp"

#include <deque>

#include <gtest/gtest.h>

#include "console/keys.hpp"
#include "terminal/key_sequences.hpp"

namespace ferrolux {
namespace {

std::vector<Key> DecodeAll(const std::string& bytes, bool utf8 = true) {
  TypedInputDecoder decoder(utf8);
  std::vector<Key> keys;
  for (char byte : bytes)
    for (const Key& key : decoder.Feed(static_cast<unsigned char>(byte))) keys.push_back(key);
  for (const Key& key : decoder.Flush()) keys.push_back(key);
  return keys;
}

TEST(TypedInputDecoderTest, BytesBecomeOneByteKeyTexts) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Key> keys;
  };
  const Case cases[] = {
      {"plain letters", "a1", {'a', '1'}},
      {"Enter and line feed", "\r\n", {keys::kEnter, keys::kEnter}},
      {"DEL is Backspace", "\x7f", {keys::kBackspace}},
      {"a lone NUL is dropped", std::string("\0x", 2), {'x'}},
      {"e acute in two bytes", "\xc3\xa9", {'\xe9'}},
      {"the euro sign is its code-page byte", "\xe2\x82\xac", {'\x80'}},
      {"a character without a byte is dropped", "\xe2\x94\x80z", {'z'}},
      {"a four-byte character is dropped", "\xf0\x9f\x93\xbb.", {'.'}},
      {"a stray continuation byte stands for itself", "\x80", {'\x80'}},
      {"bytes that begin nothing stand for themselves", "\xc0\xff", {'\xc0', '\xff'}},
      {"an overlong form is not a character", "\xe0\x80\xaf", {'\xe0', '\x80', '\xaf'}},
      {"a surrogate is not a character", "\xed\xa0\x80", {'\xed', '\xa0', '\x80'}},
      {"a character cut off by a new lead byte", "\xe2\x82\xc3\xa9", {'\xe2', '\x82', '\xe9'}},
      {"a character cut off at the end", "\xe2\x82", {'\xe2', '\x82'}},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeAll(c.bytes), c.keys) << c.name;
}

TEST(TypedInputDecoderTest, ABrokenCharacterNeverSwallowsTheEnterAfterIt) {
  for (int byte = 128; byte < 256; ++byte) {
    const std::vector<Key> keys = DecodeAll(std::string(1, static_cast<char>(byte)) + "\r");
    ASSERT_FALSE(keys.empty()) << byte;
    EXPECT_EQ(keys.back(), keys::kEnter) << byte;
  }
}

TEST(TypedInputDecoderTest, OutsideUtf8EachByteIsACharacterOfTheLocale) {
  // The tests run in the C locale, where bytes above 127 are no characters: they stand for themselves.
  EXPECT_EQ(DecodeAll("a\xe9\x7f", false), (std::vector<Key>{'a', '\xe9', keys::kBackspace}));
}

TEST(TypedInputDecoderTest, PendingOnlyWhileACharacterIsIncomplete) {
  TypedInputDecoder decoder(true);
  EXPECT_TRUE(decoder.Feed(0xc3).empty());
  EXPECT_TRUE(decoder.Pending());
  EXPECT_EQ(decoder.Feed(0xa9), std::vector<Key>{'\xe9'});
  EXPECT_FALSE(decoder.Pending());
}

std::vector<Key> KeysOf(const std::string& bytes, bool flush = true) {
  KeyDecoder decoder(true);
  std::deque<Key> keys;
  for (char byte : bytes) decoder.Feed(static_cast<unsigned char>(byte), keys);
  if (flush) decoder.Flush(keys);
  return {keys.begin(), keys.end()};
}

TEST(KeyDecoderTest, EveryEncodingOfAKeyGivesThatKey) {
  struct Case {
    Key key;
    std::vector<std::string> encodings;
  };
  const Case cases[] = {
      {keys::kHome, {"\x1b[1~", "\x1b[7~", "\x1b[H", "\x1bOH", "\x1b[1;5H", "\x1b[7^", "\x1b[7$", "\x1b[1;2~"}},
      {keys::kEnd, {"\x1b[4~", "\x1b[8~", "\x1b[F", "\x1bOF", "\x1b[1;5F", "\x1b[8@"}},
      {keys::kPageUp, {"\x1b[5~", "\x1b[5;2~", "\x1b[5^"}},
      {keys::kPageDown, {"\x1b[6~", "\x1b[6;5~"}},
      {keys::kInsert, {"\x1b[2~"}},
      {keys::kDelete, {"\x1b[3~", "\x1b[3;2~"}},
      {keys::kUp, {"\x1b[A", "\x1bOA", "\x1b[1;5A", "\x1b[a", "\x1bOa", "\x1bO5A"}},
      {keys::kDown, {"\x1b[B", "\x1bOB", "\x1b[1;2B"}},
      {keys::kRight, {"\x1b[C", "\x1bOC", "\x1b[1;3C"}},
      {keys::kLeft, {"\x1b[D", "\x1bOD", "\x1b[1;6D"}},
      {keys::Function(1), {"\x1bOP", "\x1b[11~", "\x1b[[A", "\x1b[1;2P"}},
      {keys::Function(10), {"\x1b[21~"}},
      {keys::kEnter, {"\x1bOM"}},
      {'7', {"\x1bOw"}},
      {keys::kEscape, {"\x1b"}},
  };
  for (const Case& c : cases)
    for (const std::string& encoding : c.encodings)
      EXPECT_EQ(KeysOf(encoding + "x"), (std::vector<Key>{c.key, 'x'})) << testing::PrintToString(encoding);
}

TEST(KeyDecoderTest, SequencesOfNoUseAndCutOffSequencesAreNeverTypedText) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Key> keys;
  };
  const Case cases[] = {
      {"F12", "\x1b[24~z", {'z'}},
      {"a bracketed paste keeps only what was pasted", "\x1b[200~ab\x1b[201~", {'a', 'b'}},
      {"a focus report", "\x1b[Iz", {'z'}},
      {"a device attributes reply was a Right key", "\x1b[?1;2cz", {'z'}},
      {"a mouse report and its three bytes", "\x1b[M !!z", {'z'}},
      {"a runaway parameter list", "\x1b[" + std::string(500, '1') + "~z", {'z'}},
      {"a control byte breaks a sequence and counts", "\x1b[1\r", {keys::kEnter}},
      {"a sequence cut off by the wait", "\x1b[1;5", {}},
      {"Alt and a key", "\x1bx", {keys::kEscape, 'x'}},
      {"Alt and [ cut off by the wait", "\x1b[", {keys::kEscape, '['}},
      {"two Escapes", "\x1b\x1b", {keys::kEscape, keys::kEscape}},
      {"a character cut off by ESC", "\xc3\x1b[A", {'\xc3', keys::kUp}},
  };
  for (const Case& c : cases) EXPECT_EQ(KeysOf(c.bytes), c.keys) << c.name;
}

// Replies a terminal sends unasked (a shell's prompt asks for the background colour) are never
// typed, however they end.
TEST(KeyDecoderTest, TerminalStringRepliesAreDroppedUpToTheirEnd) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Key> keys;
  };
  const Case cases[] = {
      {"an OSC colour reply ended by ST", "\x1b]11;rgb:0000/0000/0000\x1b\\5", {'5'}},
      {"an OSC ended by BEL", "\x1b]10;rgb:ffff/ffff/ffff\a5", {'5'}},
      {"a DCS reply", "\x1bP1$r0m\x1b\\5", {'5'}},
      {"APC, PM and SOS", "\x1b_a\x1b\\\x1b^b\x1b\\\x1bXc\x1b\\5", {'5'}},
      {"CAN cancels the string",
       "\x1b]11;rgb\x18"
       "5",
       {'5'}},
      {"an ESC that is no ST begins a key", "\x1b]11;rgb\x1bOB5", {keys::kDown, '5'}},
      {"a string past its bound ends; the rest is typed", "\x1b]" + std::string(4096, 'x') + "yz", {'y', 'z'}},
      {"a string cut off by the wait", "\x1b]11;rgb:00", {}},
      {"Alt and ] cut off by the wait", "\x1b]", {keys::kEscape, ']'}},
  };
  for (const Case& c : cases) EXPECT_EQ(KeysOf(c.bytes), c.keys) << c.name;
}

// The bytes of a key may arrive in separate reads: until the wait is over nothing is decided.
TEST(KeyDecoderTest, AnEscapeIsOnlyEscapeOnceTheWaitIsOver) {
  KeyDecoder decoder(true);
  std::deque<Key> keys;
  decoder.Feed(0x1b, keys);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(decoder.Pending());
  decoder.Feed('O', keys);
  decoder.Feed('B', keys);
  EXPECT_EQ(keys, std::deque<Key>{keys::kDown});
  EXPECT_FALSE(decoder.Pending());
}

}  // namespace
}  // namespace ferrolux
