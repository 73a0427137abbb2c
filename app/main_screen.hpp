#pragma once
// The screen every cycle is drawn on: the double frame, the divider, the title, the work
// area inside them, and the closing question over the frame's bottom line.

#include <string>

namespace ferrolux {

class Console;

namespace main_screen {
inline constexpr int kScreenWidth = 120;
inline constexpr int kScreenHeight = 43;
inline constexpr int kFrameBackground = 1;
inline constexpr int kFrameForeground = 14;
inline constexpr int kTextForeground = 15;
inline constexpr int kFrameBottom = 42;
inline constexpr int kFrameRight = 119;
inline constexpr int kDividerRow = 3;
inline constexpr int kTitleRow = 2, kTitleColumn = 43;
inline constexpr int kWorkTop = 4, kWorkBottom = 41, kWorkLeft = 2, kWorkWidth = 117;
inline constexpr int kWorkRight = kWorkLeft + kWorkWidth - 1;  // typed text keeps inside it
inline constexpr int kQuestionRow = 42, kQuestionColumn = 39;
inline constexpr int kQuestionForeground = 15, kQuestionBackground = 4;
inline const std::string kWindowTitle = "Coaxial Cable Ferrolux By Tolvanik (v1.0a)";
inline const std::string kTitle = "Transmission Line Ferrolux";
inline const std::string kClosingQuestion = "[ Would you like to do another? (Y/N)? ]";
}  // namespace main_screen

// Clears the screen and draws frame, divider and title; leaves the colours at 15 on 1.
void DrawMainScreen(Console& console);

// Blanks rows 4 to 41, columns 2 to 118, in 15 on 1, and draws the frame's right side beside them.
void ClearWorkArea(Console& console);

// Asks the closing question; the upper-cased answer is "Y" or "N".
std::string AskAnotherCycle(Console& console);

}  // namespace ferrolux
