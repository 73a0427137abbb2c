#pragma once
// Pure text and number helpers shared by every screen. Text is single-byte throughout.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ferrolux {

// The leading numeric part of a text; text without a number reads as 0. Never fails.
// Accepts "&H"/"&O"/"&Q"/"&B" whole numbers and "E"/"D" exponents.
double ParseNumber(std::string_view text);

// The whole text as a finite decimal number ("-1.5", "+2", "3e2"); none for anything else:
// blanks, hexadecimal, "inf", "nan", a trailing letter.
std::optional<double> ReadDecimal(std::string_view text);

// The first comma-separated field of a typed line (a double-quoted field counts without quotes).
std::string FirstField(std::string_view line);

// Decimal digits with a leading blank, or a leading "-" when negative: 42 gives " 42".
std::string NumberText(long long value);

// The number with at most `digits` significant digits: no blank before it, ".85" rather than
// "0.85", no trailing zeros, no lone point. Beyond the plain range an exponent form is used
// (1.5E+09, 2E-08). Infinities read "inf" and "-inf", not-a-number "nan".
std::string PlainNumberText(double value, int digits);

// Digits after the point as asked, a point whatever the locale.
std::string FixedText(double value, int decimals);

// x rounded to `places` decimals, ties to the even neighbour, in double precision.
double RoundHalfEven(double x, int places);

// The number as PrintNumber writes it: a blank (or "-"), PlainNumberText, one blank.
std::string PrintedNumberText(double value, int digits);

// The three lines a routine prints when its output array is too small for `count` elements.
std::array<std::string, 3> OverflowReportLines(const std::string& message, int upperBound, int count);

// a-z and the code-page 437 letters ä ö ü é ñ å ç upper-cased; everything else unchanged.
char UpperCaseChar(char c);
std::string UpperCase(std::string_view text);

// Blanks (code 32 only) removed from both ends.
std::string TrimBlanks(std::string_view text);

std::string Blanks(int count);

}  // namespace ferrolux
