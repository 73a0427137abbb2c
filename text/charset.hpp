#pragma once
// The one place where single-byte text meets Unicode. Ordinary bytes are Windows-1252;
// frame characters keep their code-page 437 meaning. Control codes never reach the terminal:
// they are shown as the code-page 437 picture characters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ferrolux {

// What an ordinary text byte looks like on screen (always a printable character).
char32_t TextGlyph(unsigned char byte);

// What a code-page 437 byte looks like on screen (the frame characters among them).
char32_t Cp437Glyph(unsigned char byte);

// The single byte a typed character stands for; none for characters without one.
std::optional<unsigned char> ByteOfTypedChar(char32_t ch);

void AppendUtf8(std::string& out, char32_t ch);

// The code point at the front of a non-empty UTF-8 text and its length in bytes; a broken or
// overlong sequence gives up one byte and is not valid.
struct Utf8Char {
  char32_t point;
  std::size_t length;
  bool valid;
};
Utf8Char DecodeUtf8(std::string_view text);

// How a control character is written out: as its code-page 437 picture (text for a reader) or
// as U+FFFD (files for programs).
enum class ControlForm { kPicture, kReplacement };

// The character written in place of a code point: C0 controls but TAB, DEL and C1 controls
// become their stand-in, so no output lets a terminal sequence through; the rest unchanged.
char32_t OutputChar(char32_t point, ControlForm form);

// Catalog bytes (Windows-1252) as UTF-8 for any output, every character through OutputChar.
std::string OutputTextOfBytes(std::string_view bytes, ControlForm form);

// UTF-8 text as it may be written: every character through OutputChar, a broken sequence as U+FFFD.
std::string OutputTextOfUtf8(std::string_view utf8, ControlForm form);

// UTF-8 text for a terminal or a log: OutputTextOfUtf8 with pictures, a TAB's picture too, and,
// for a terminal whose character set is not UTF-8, "?" for every character outside ASCII. Every
// message and every comment written goes through it.
std::string TerminalText(std::string_view utf8, bool utf8Terminal = true);

// Text quoted from a file in a message: in double quotes, through TerminalText,
// cut to `mostChars` characters with "..." when longer.
std::string QuotedExcerpt(std::string_view text, std::size_t mostChars = 80);

}  // namespace ferrolux
