#pragma once
// Outlines of rectangles in line-drawing characters; the inside is left alone.

namespace ferrolux {

class Console;

// Code-page 437 values of the frame characters.
namespace frame {
inline constexpr unsigned char kSingleTopLeft = 218, kSingleTopRight = 191;
inline constexpr unsigned char kSingleBottomLeft = 192, kSingleBottomRight = 217;
inline constexpr unsigned char kSingleHorizontal = 196, kSingleVertical = 179;
inline constexpr unsigned char kDoubleTopLeft = 201, kDoubleTopRight = 187;
inline constexpr unsigned char kDoubleBottomLeft = 200, kDoubleBottomRight = 188;
inline constexpr unsigned char kDoubleHorizontal = 205, kDoubleVertical = 186;
inline constexpr unsigned char kDoubleTeeRight = 204, kDoubleTeeLeft = 185;  // ╠ ╣
}  // namespace frame

inline constexpr int kSingleLine = 1;
inline constexpr int kDoubleLine = 2;

// Leaves the colours set to the box's and the cursor at column 1 below the bottom border.
void DrawBox(Console& console, int top, int left, int bottom, int right, int style, int foreground, int background);

}  // namespace ferrolux
