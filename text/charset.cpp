#include "text/charset.hpp"

#include <array>

namespace ferrolux {

namespace {

// Code page 437, bytes 0 to 31 (the picture characters) and 127.
constexpr std::array<char32_t, 32> kCp437Low = {0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                                                0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                                                0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                                                0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
constexpr char32_t kCp437Delete = 0x2302;  // ⌂
constexpr char32_t kReplacementChar = 0xFFFD;
constexpr char32_t kNullPicture = 0x2400;  // ␀: code page 437 draws a NUL blank, which hides it

// Code page 437, bytes 128 to 255.
constexpr std::array<char32_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Windows-1252, bytes 128 to 159; 0 marks the five bytes it leaves undefined.
constexpr std::array<char32_t, 32> kCp1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char32_t Cp437Glyph(unsigned char byte) {
  if (byte < 32) return kCp437Low[byte];
  if (byte == 127) return kCp437Delete;
  if (byte < 128) return byte;
  return kCp437High[byte - 128];
}

char32_t TextGlyph(unsigned char byte) {
  if (byte < 32 || byte == 127) return Cp437Glyph(byte);
  if (byte < 128 || byte >= 160) return byte;  // ASCII, and Latin-1 above 159
  const char32_t glyph = kCp1252High[byte - 128];
  return glyph != 0 ? glyph : Cp437Glyph(byte);
}

std::optional<unsigned char> ByteOfTypedChar(char32_t ch) {
  if (ch < 128 || (ch >= 160 && ch < 256)) return static_cast<unsigned char>(ch);
  for (size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] != 0 && kCp1252High[i] == ch) return static_cast<unsigned char>(128 + i);
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

Utf8Char DecodeUtf8(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return {0, 1, false};
  char32_t point = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {0, 1, false};
    point = point << 6 | (next & 0x3F);
  }
  constexpr std::array<char32_t, 5> kShortest{0, 0, 0x80, 0x800, 0x10000};
  if (point < kShortest[length] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) return {0, 1, false};
  return {point, length, true};
}

char32_t OutputChar(char32_t point, ControlForm form) {
  const bool control = (point < 0x20 && point != '\t') || (point >= 0x7F && point < 0xA0);
  if (!control) return point;
  if (form == ControlForm::kReplacement || point >= 0x80) return kReplacementChar;
  if (point == 0) return kNullPicture;
  return Cp437Glyph(static_cast<unsigned char>(point));
}

std::string OutputTextOfBytes(std::string_view bytes, ControlForm form) {
  std::string text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    const bool control = code < 0x20 || code == 0x7F;
    // The pictures stand for a TAB too: a reader's table has no room for one.
    const char32_t point = control && form == ControlForm::kReplacement ? code : TextGlyph(code);
    AppendUtf8(text, OutputChar(point, form));
  }
  return text;
}

std::string OutputTextOfUtf8(std::string_view utf8, ControlForm form) {
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Char decoded = DecodeUtf8(utf8.substr(at));
    AppendUtf8(text, decoded.valid ? OutputChar(decoded.point, form) : kReplacementChar);
    at += decoded.length;
  }
  return text;
}

std::string TerminalText(std::string_view utf8, bool utf8Terminal) {
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Char decoded = DecodeUtf8(utf8.substr(at));
    // A TAB too: a message is one line whose look does not hang on tab stops.
    const char32_t point = !decoded.valid          ? kReplacementChar
                           : decoded.point == '\t' ? Cp437Glyph('\t')
                                                   : OutputChar(decoded.point, ControlForm::kPicture);
    if (utf8Terminal) AppendUtf8(text, point);
    else text += point < 0x80 ? static_cast<char>(point) : '?';
    at += decoded.length;
  }
  return text;
}

std::string QuotedExcerpt(std::string_view text, std::size_t mostChars) {
  std::size_t at = 0;
  for (std::size_t chars = 0; at < text.size() && chars < mostChars; ++chars) at += DecodeUtf8(text.substr(at)).length;
  return '"' + TerminalText(text.substr(0, at)) + (at < text.size() ? "...\"" : "\"");
}

}  // namespace ferrolux
