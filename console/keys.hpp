#pragma once
// Key texts: a character key is its one byte; a key without a character is NUL followed by
// its scan code. These are the only key values the program above the console ever sees.

#include <string>

namespace ferrolux::keys {

inline std::string Scan(unsigned char code) { return std::string(1, '\0') + static_cast<char>(code); }

inline const std::string kEnter = "\r";
inline const std::string kEscape = "\x1b";
inline const std::string kBackspace = "\b";
inline const std::string kTab = "\t";

inline const std::string kHome = Scan(71);
inline const std::string kUp = Scan(72);
inline const std::string kPageUp = Scan(73);
inline const std::string kLeft = Scan(75);
inline const std::string kRight = Scan(77);
inline const std::string kEnd = Scan(79);
inline const std::string kDown = Scan(80);
inline const std::string kPageDown = Scan(81);
inline const std::string kInsert = Scan(82);
inline const std::string kDelete = Scan(83);
// F1 to F10 are scan codes 59 to 68.
inline std::string Function(int n) { return Scan(static_cast<unsigned char>(58 + n)); }

}  // namespace ferrolux::keys
