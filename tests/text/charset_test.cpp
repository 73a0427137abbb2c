#include "text/charset.hpp"

#include <gtest/gtest.h>

namespace ferrolux {
namespace {

TEST(Charset, TypedCharactersMapBackToSingleBytes) {
  EXPECT_EQ(ByteOfTypedChar(U'a'), 'a');
  EXPECT_EQ(ByteOfTypedChar(U'é'), 0xe9);
  EXPECT_EQ(ByteOfTypedChar(U'€'), 0x80);
  EXPECT_EQ(ByteOfTypedChar(U'─'), std::nullopt);
  EXPECT_EQ(ByteOfTypedChar(0x81), std::nullopt);
  for (int byte = 32; byte < 256; ++byte) {
    const char32_t glyph = TextGlyph(static_cast<unsigned char>(byte));
    if (byte == 127 || byte == 0x81 || byte == 0x8d || byte == 0x8f || byte == 0x90 || byte == 0x9d) continue;
    EXPECT_EQ(ByteOfTypedChar(glyph), byte) << byte;
  }
}

TEST(Charset, NoByteEverShowsAsAControlCharacter) {
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t glyph = TextGlyph(static_cast<unsigned char>(byte));
    EXPECT_TRUE(glyph >= 32 && glyph != 127 && !(glyph >= 0x80 && glyph < 0xa0)) << byte;
  }
}

}  // namespace
}  // namespace ferrolux
