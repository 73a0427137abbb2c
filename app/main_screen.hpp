#pragma once
// The screen every cycle is drawn on: the double frame, the divider, the title, the work
// area inside them, and the closing question over the frame's bottom line.

#include <string>

#include "console/console.hpp"

namespace ferrolux {

namespace main_screen {
inline constexpr int kFrameBottom = kScreenRows - 1;
inline constexpr int kFrameRight = kScreenColumns - 1;
inline constexpr int kDividerRow = 3;
inline constexpr int kTitleRow = 2, kTitleColumn = 43;
inline constexpr int kWorkTop = 4, kWorkBottom = 41, kWorkLeft = 2, kWorkWidth = 117;
inline constexpr int kWorkRight = kWorkLeft + kWorkWidth - 1;  // typed text keeps inside it
inline constexpr int kQuestionRow = 42, kQuestionColumn = 39;
inline const std::string kWindowTitle = "Coaxial Cable Ferrolux By Tolvanik (v1.0a)";
inline const std::string kTitle = "Transmission Line Ferrolux";
inline const std::string kClosingQuestion = "[ Would you like to do another? (Y/N)? ]";
}  // namespace main_screen

// Clears the screen and draws frame, divider and title; leaves the text colours set.
void DrawMainScreen(Console& console);

// Blanks rows 4 to 41, columns 2 to 118, in the text colours, and draws the frame's right side beside them.
void ClearWorkArea(Console& console);

// Asks the closing question; the upper-cased answer is "Y" or "N".
std::string AskAnotherCycle(Console& console);

}  // namespace ferrolux
