#pragma once
// Where the loss estimate stops being worth showing. What is said instead is in results/.

#include "model/loss.hpp"

namespace ferrolux {

// The estimator has no bracket above this measured SWR; its 0 there would show a lossless line.
inline constexpr float kHighestEstimatedShackSwr = BracketTable.back().upper;
// From this estimated SWR at the antenna on, the SWR figures are not worth showing.
inline constexpr float kWarningSwr = 20;

constexpr bool BeyondEstimate(float shackSwr) { return shackSwr > kHighestEstimatedShackSwr; }
constexpr bool WarnsOfHighSwr(float realSwr) { return realSwr >= kWarningSwr; }

}  // namespace ferrolux
