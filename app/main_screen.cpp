#include "app/main_screen.hpp"

#include "console/box.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"
#include "text/text.hpp"

namespace ferrolux {

using namespace main_screen;

void DrawMainScreen(Console& console) {
  console.ClearScreen();
  DrawBox(console, 1, 1, kFrameBottom, kFrameRight, kDoubleLine, kFrameColors.foreground, kFrameColors.background);
  console.Locate(kDividerRow, 1);
  console.PrintFrame(frame::kDoubleTeeRight);
  console.PrintFrame(frame::kDoubleHorizontal, kScreenColumns - 3);
  console.Locate(kDividerRow, kFrameRight);
  console.PrintFrame(frame::kDoubleTeeLeft);
  console.SetColor(kTextColors.foreground, kTextColors.background);
  console.Locate(kTitleRow, kTitleColumn);
  console.PrintText(kTitle);
}

void ClearWorkArea(Console& console) {
  // A pick list as wide as the room has its right border on the frame's: put the frame back.
  console.SetColor(kFrameColors.foreground, kFrameColors.background);
  for (int row = kWorkTop; row <= kWorkBottom; ++row) {
    console.Locate(row, kFrameRight);
    console.PrintFrame(frame::kDoubleVertical);
  }
  console.SetColor(kTextColors.foreground, kTextColors.background);
  const std::string blanks = Blanks(kWorkWidth);
  for (int row = kWorkTop; row <= kWorkBottom; ++row) {
    console.Locate(row, kWorkLeft);
    console.PrintText(blanks);
  }
}

std::string AskAnotherCycle(Console& console) {
  console.Locate(kQuestionRow, kQuestionColumn);
  console.SetColor(kClosingQuestionColors.foreground, kClosingQuestionColors.background);
  console.PrintText(kClosingQuestion);
  console.PrintLineEnd();
  std::string answer = UpperCase(console.WaitKey("YyNn"));
  console.SetColor(kTextColors.foreground, kTextColors.background);
  return answer;
}

}  // namespace ferrolux
