#pragma once
// How the subcommands write: what standard output is (a terminal? colours? UTF-8?), catalog
// bytes made safe to show, and numbers for scripts.

#include <string>
#include <string_view>

namespace ferrolux::cli {

struct OutputStyle {
  bool terminal = false;  // standard output is a terminal
  bool color = false;     // only on a terminal, and never with NO_COLOR set
  bool utf8 = false;      // the locale's character set
  int columns = 0;        // the terminal's size; 0 when standard output is no terminal
  int rows = 0;
};

OutputStyle DetectOutputStyle();

// Catalog bytes as text for a reader: Windows-1252 in UTF-8, control codes as visible pictures
// (so no catalog byte reaches a terminal as a control); without UTF-8, "?" for anything not ASCII.
std::string DisplayText(std::string_view bytes, bool utf8 = true);

// Catalog bytes for JSON: ASCII as it is (the JSON writer escapes controls), the rest in UTF-8.
std::string JsonText(std::string_view bytes);

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);

// The shortest text that reads back as the same double; empty for infinities and NaN.
std::string MachineNumber(double value);

// A stored float as the double its shortest text stands for: 74.0552f gives 74.0552, not
// 74.05519866943359.
double Widened(float value);

// Characters on screen: every character the subcommands write takes one cell.
int DisplayWidth(std::string_view utf8);

// The text cut to `width` cells, ending with an ellipsis when cut.
std::string FitWidth(std::string_view utf8, int width, bool utf8Ellipsis);

// The text in an SGR colour ("1" bold, "33" yellow, …) when colours are on.
std::string Painted(std::string_view text, std::string_view sgr, bool color);

}  // namespace ferrolux::cli
