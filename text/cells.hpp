#pragma once
// Text laid out in terminal cells: every character the subcommands write takes one cell, and
// colour codes are built in one place.

#include <string>
#include <string_view>

namespace ferrolux {

// Characters on screen: one cell per UTF-8 character.
int DisplayWidth(std::string_view utf8);

// The text cut to `width` cells, ending with an ellipsis when cut.
std::string FitWidth(std::string_view utf8, int width, bool utf8Ellipsis);

// The escape sequence that selects an SGR rendition ("1" bold, "33" yellow, "0" plain).
std::string SgrCode(std::string_view parameters);

// The text in an SGR colour, back to plain after it, when colours are on.
std::string Painted(std::string_view text, std::string_view sgr, bool color);

}  // namespace ferrolux
