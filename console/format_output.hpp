#pragma once
// Word-wrapping of a long text into lines of one width, for a column of the screen.

#include <string>
#include <vector>

namespace ferrolux {

class Console;

// Fills the line array `lines` (upper bound lines.size() - 1, never resized) with the text broken
// at blanks into lines of exactly `width` characters; element 0 gets the line count ("1" for a
// text that fits on one line, " 2", " 3" ... otherwise). When the array is too small it sets
// `errorMessage`, prints the overflow report at the cursor, waits for a key and keeps the lines
// that fitted. An array without even element 0 is left alone.
void FormatOutput(Console& console, std::string& errorMessage, const std::string& text, std::vector<std::string>& lines,
                  int width);

}  // namespace ferrolux
