#pragma once
// Where the loss estimate stops being worth showing, and the lines shown instead of its figures.
// The results screen and the command line both show them, word for word the same.

#include <string>
#include <vector>

#include "model/loss.hpp"

namespace ferrolux {

// The estimator has no bracket above this measured SWR; its 0 there would show a lossless line.
inline constexpr float kHighestEstimatedShackSwr = BracketTable.back().upper;
// From this estimated SWR at the antenna on, the SWR figures are not worth showing.
inline constexpr float kWarningSwr = 20;

constexpr bool BeyondEstimate(float shackSwr) { return shackSwr > kHighestEstimatedShackSwr; }
constexpr bool WarnsOfHighSwr(float realSwr) { return realSwr >= kWarningSwr; }

// The numbers come in as the caller writes them: the estimate rounded to a whole number, the
// measured SWR as entered.
std::vector<std::string> HighSwrWarningLines(const std::string& realSwr);
std::vector<std::string> NoEstimateNoticeLines(const std::string& shackSwr);

}  // namespace ferrolux
