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

TEST(OutputText, NoControlCharacterIsEverWrittenInAnyForm) {
  for (ControlForm form : {ControlForm::kPicture, ControlForm::kReplacement})
    for (char32_t point = 0; point < 0x100; ++point) {
      const char32_t out = OutputChar(point, form);
      EXPECT_TRUE(out == '\t' || (out >= 0x20 && out != 0x7f && !(out >= 0x80 && out < 0xa0)))
          << static_cast<int>(point);
    }
  EXPECT_EQ(OutputTextOfBytes("\x1b\t\x7f\x80", ControlForm::kPicture), "←○⌂€");
  EXPECT_EQ(OutputTextOfBytes("\x1b\t\x7f\x80", ControlForm::kReplacement), "�\t�€");
  EXPECT_EQ(OutputTextOfUtf8("\xc2\x9b\xff é", ControlForm::kReplacement), "�� é");
}

// Messages quoted file bytes raw: a title set, a clipboard written, a CR over the message's start.
TEST(TerminalText, MessagesCarriedControlCharacters) {
  struct Case {
    std::string utf8;
    bool utf8Terminal;
    std::string text;
  };
  const Case cases[] = {
      {"\x1b]0;PWNED\a", true, "←]0;PWNED•"},
      {"a\tb\r\n\x7f", true, "a○b♪◙⌂"},
      {std::string("1\0x", 3), true, "1␀x"},  // a NUL shows, where a blank picture hid it
      {"\xc2\x9b"
       "2J\xff",
       true,
       "\uFFFD"
       "2J\uFFFD"},
      {"Caf\xc3\xa9 \x1b\xc2\x9b", false, "Caf? ??"},
  };
  for (const Case& c : cases) EXPECT_EQ(TerminalText(c.utf8, c.utf8Terminal), c.text) << c.utf8;
}

// A 10 MB option line was quoted whole in its one-line message.
TEST(QuotedExcerpt, QuotedFileTextHadNoEnd) {
  EXPECT_EQ(QuotedExcerpt("x\x1b\t"), "\"x←○\"");
  EXPECT_EQ(QuotedExcerpt(std::string(100'000, 'y')), '"' + std::string(80, 'y') + "...\"");
  std::string accents;
  for (int i = 0; i < 80; ++i) accents += "é";
  EXPECT_EQ(QuotedExcerpt(accents + "é"), '"' + accents + "...\"");  // cut between characters
}

TEST(DecodeUtf8, RefusesOverlongAndBrokenSequences) {
  EXPECT_EQ(DecodeUtf8("é").point, U'é');
  EXPECT_FALSE(DecodeUtf8("\xc0\x80").valid);
  EXPECT_FALSE(DecodeUtf8("\xe2\x82").valid);
  EXPECT_EQ(DecodeUtf8("\xe2\x82").length, 1u);
}

}  // namespace
}  // namespace ferrolux
