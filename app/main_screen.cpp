#include "app/main_screen.hpp"

#include "console/box.hpp"
#include "console/console.hpp"
#include "text/text.hpp"

namespace ferrolux {

using namespace main_screen;

void DrawMainScreen(Console& console) {
  console.ClearScreen();
  DrawBox(console, 1, 1, kFrameBottom, kFrameRight, kDoubleLine, kFrameForeground,
          kFrameBackground);
  console.Locate(kDividerRow, 1);
  console.PrintFrame(frame::kDoubleTeeRight);
  console.PrintFrame(frame::kDoubleHorizontal, kScreenWidth - 3);
  console.Locate(kDividerRow, kFrameRight);
  console.PrintFrame(frame::kDoubleTeeLeft);
  console.SetColor(kTextForeground, kFrameBackground);
  console.Locate(kTitleRow, kTitleColumn);
  console.PrintText(kTitle);
}

void ClearWorkArea(Console& console) {
  // A pick list as wide as the room has its right border on the frame's: put the frame back.
  console.SetColor(kFrameForeground, kFrameBackground);
  for (int row = kWorkTop; row <= kWorkBottom; ++row) {
    console.Locate(row, kFrameRight);
    console.PrintFrame(frame::kDoubleVertical);
  }
  console.SetColor(kTextForeground, kFrameBackground);
  const std::string blanks = Blanks(kWorkWidth);
  for (int row = kWorkTop; row <= kWorkBottom; ++row) {
    console.Locate(row, kWorkLeft);
    console.PrintText(blanks);
  }
}

std::string AskAnotherCycle(Console& console) {
  console.Locate(kQuestionRow, kQuestionColumn);
  console.SetColor(kQuestionForeground, kQuestionBackground);
  console.PrintText(kClosingQuestion);
  console.PrintLineEnd();
  const std::string answer = UpperCase(console.WaitKey("YyNn"));
  console.SetColor(kTextForeground, kFrameBackground);
  return answer;
}

}  // namespace ferrolux
