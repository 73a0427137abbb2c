#pragma once
// The program's colours by role, each a foreground on a background. The screens and the
// console's own pieces take them from here, so the colour scheme lives in one place.

#include <cstdint>

#include "console/screen.hpp"

namespace ferrolux {

// The sixteen text-mode colour numbers the console takes; only the ones in use are named.
namespace color {
inline constexpr std::uint8_t kBlue = 1;
inline constexpr std::uint8_t kRed = 4;
inline constexpr std::uint8_t kLightGrey = 7;
inline constexpr std::uint8_t kYellow = 14;
inline constexpr std::uint8_t kBrightWhite = 15;
}  // namespace color

inline constexpr Colors kTextColors{color::kBrightWhite, color::kBlue};
inline constexpr Colors kFrameColors{color::kYellow, color::kBlue};
inline constexpr Colors kHighlightedKeyColors{color::kYellow, color::kBlue};
// Descriptions and recommended uses, set off from the figures above them.
inline constexpr Colors kWrappedTextColors{color::kLightGrey, color::kBlue};
inline constexpr Colors kClosingQuestionColors{color::kBrightWhite, color::kRed};
inline constexpr Colors kListFrameColors{color::kYellow, color::kRed};
inline constexpr Colors kSelectedRowColors{color::kYellow, color::kRed};

}  // namespace ferrolux
