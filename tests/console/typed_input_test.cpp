#include "console/typed_input.hpp"

#include <gtest/gtest.h>

#include "console/keys.hpp"

namespace ferrolux {
namespace {

std::vector<std::string> DecodeAll(const std::string& bytes, bool utf8 = true) {
  TypedInputDecoder decoder(utf8);
  std::vector<std::string> keys;
  for (char byte : bytes)
    for (std::string& key : decoder.Feed(static_cast<unsigned char>(byte))) keys.push_back(key);
  for (std::string& key : decoder.Flush()) keys.push_back(key);
  return keys;
}

TEST(TypedInputDecoderTest, BytesBecomeOneByteKeyTexts) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {"plain letters", "a1", {"a", "1"}},
      {"Enter and line feed", "\r\n", {keys::kEnter, keys::kEnter}},
      {"DEL is Backspace", "\x7f", {keys::kBackspace}},
      {"a lone NUL is dropped", std::string("\0x", 2), {"x"}},
      {"e acute in two bytes", "\xc3\xa9", {"\xe9"}},
      {"the euro sign is its code-page byte", "\xe2\x82\xac", {"\x80"}},
      {"a character without a byte is dropped", "\xe2\x94\x80z", {"z"}},
      {"a four-byte character is dropped", "\xf0\x9f\x93\xbb.", {"."}},
      {"a stray continuation byte stands for itself", "\x80", {"\x80"}},
      {"bytes that begin nothing stand for themselves", "\xc0\xff", {"\xc0", "\xff"}},
      {"an overlong form is not a character", "\xe0\x80\xaf", {"\xe0", "\x80", "\xaf"}},
      {"a surrogate is not a character", "\xed\xa0\x80", {"\xed", "\xa0", "\x80"}},
      {"a character cut off by a new lead byte", "\xe2\x82\xc3\xa9", {"\xe2", "\x82", "\xe9"}},
      {"a character cut off at the end", "\xe2\x82", {"\xe2", "\x82"}},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeAll(c.bytes), c.keys) << c.name;
}

TEST(TypedInputDecoderTest, ABrokenCharacterNeverSwallowsTheEnterAfterIt) {
  for (int byte = 128; byte < 256; ++byte) {
    const std::vector<std::string> keys = DecodeAll(std::string(1, static_cast<char>(byte)) + "\r");
    ASSERT_FALSE(keys.empty()) << byte;
    EXPECT_EQ(keys.back(), keys::kEnter) << byte;
  }
}

TEST(TypedInputDecoderTest, OutsideUtf8EachByteIsACharacterOfTheLocale) {
  // The tests run in the C locale, where bytes above 127 are no characters: they stand for themselves.
  EXPECT_EQ(DecodeAll("a\xe9\x7f", false), (std::vector<std::string>{"a", "\xe9", keys::kBackspace}));
}

TEST(TypedInputDecoderTest, PendingOnlyWhileACharacterIsIncomplete) {
  TypedInputDecoder decoder(true);
  EXPECT_TRUE(decoder.Feed(0xc3).empty());
  EXPECT_TRUE(decoder.Pending());
  EXPECT_EQ(decoder.Feed(0xa9), std::vector<std::string>{"\xe9"});
  EXPECT_FALSE(decoder.Pending());
}

}  // namespace
}  // namespace ferrolux
