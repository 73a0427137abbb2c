#pragma once
// The one place where single-byte text meets Unicode. Ordinary bytes are Windows-1252;
// frame characters keep their code-page 437 meaning. Control codes never reach the terminal:
// they are shown as the code-page 437 picture characters.

#include <optional>
#include <string>

namespace ferrolux {

// What an ordinary text byte looks like on screen (always a printable character).
char32_t TextGlyph(unsigned char byte);

// What a code-page 437 byte looks like on screen (the frame characters among them).
char32_t Cp437Glyph(unsigned char byte);

// The single byte a typed character stands for; none for characters without one.
std::optional<unsigned char> ByteOfTypedChar(char32_t ch);

void AppendUtf8(std::string& out, char32_t ch);

}  // namespace ferrolux
