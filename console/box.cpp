#include "console/box.hpp"

#include "console/console.hpp"

namespace ferrolux {

namespace {

struct BoxPieces {
  unsigned char topLeft, topRight, bottomLeft, bottomRight, horizontal, vertical;
};

BoxPieces PiecesOf(int style) {
  using namespace frame;
  if (style == kDoubleLine)
    return {kDoubleTopLeft, kDoubleTopRight, kDoubleBottomLeft, kDoubleBottomRight, kDoubleHorizontal, kDoubleVertical};
  return {kSingleTopLeft, kSingleTopRight, kSingleBottomLeft, kSingleBottomRight, kSingleHorizontal, kSingleVertical};
}

void DrawBorder(Console& console, int row, int left, int width, unsigned char leftPiece, unsigned char line,
                unsigned char rightPiece) {
  console.Locate(row, left);
  console.PrintFrame(leftPiece);
  console.PrintFrame(line, width - 2);
  console.PrintFrame(rightPiece);
  console.PrintLineEnd();
}

}  // namespace

void DrawBox(Console& console, int top, int left, int bottom, int right, int style, int foreground, int background) {
  console.SetColor(foreground, background);
  const BoxPieces pieces = PiecesOf(style);
  const int width = right - left + 1;
  DrawBorder(console, top, left, width, pieces.topLeft, pieces.horizontal, pieces.topRight);
  for (int row = top + 1; row <= bottom - 1; ++row) {
    console.Locate(row, left);
    console.PrintFrame(pieces.vertical);
    console.PrintLineEnd();
    console.Locate(row, right);
    console.PrintFrame(pieces.vertical);
    console.PrintLineEnd();
  }
  const int bottomRow = bottom > top + 1 ? bottom : top + 1;
  DrawBorder(console, bottomRow, left, width, pieces.bottomLeft, pieces.horizontal, pieces.bottomRight);
}

}  // namespace ferrolux
