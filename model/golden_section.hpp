#pragma once

#include <algorithm>
#include <cmath>

namespace ferrolux {

// The largest of `figure` over [low, high], where it has its one peak: a golden-section search
// of `rounds` steps, each keeping the part of the interval that holds the higher of two probes.
template <typename Figure>
double PeakBetween(double low, double high, int rounds, Figure figure) {
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  double highest = 0;
  for (int round = 0; round < rounds; ++round) {
    const double left = high - ratio * (high - low), right = low + ratio * (high - low);
    const double leftValue = figure(left), rightValue = figure(right);
    highest = std::max({highest, leftValue, rightValue});
    if (leftValue < rightValue) {
      low = left;
    } else {
      high = right;
    }
  }
  return highest;
}

}  // namespace ferrolux
