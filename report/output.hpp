#pragma once
// How the subcommands write: what standard output is (a terminal? colours? UTF-8?), catalog
// bytes made safe to show, and numbers for scripts.

#include <string>
#include <string_view>

#include "text/cells.hpp"

namespace ferrolux {

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
// Every output path goes through text/'s OutputChar, so no format writes a control.
std::string DisplayText(std::string_view bytes, bool utf8 = true);

// Catalog bytes for JSON and CSV: Windows-1252 in UTF-8, control codes as U+FFFD.
std::string JsonText(std::string_view bytes);

// A CSV field, quoted when it holds a comma, a quote or a line end. Controls become U+FFFD, and
// a text a spreadsheet would take for a formula (= + - @ TAB CR first, not a number) starts
// with an apostrophe.
std::string CsvField(std::string_view text);

// The shortest text that reads back as the same double; empty for infinities and NaN.
std::string MachineNumber(double value);

// A stored float as the double its shortest text stands for: 74.0552f gives 74.0552, not
// 74.05519866943359.
double Widened(float value);

}  // namespace ferrolux
