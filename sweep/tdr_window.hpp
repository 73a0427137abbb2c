#pragma once
// The windows a distance-to-fault view tapers its sweep with: a lower sidelobe for a wider peak.

#include <string_view>

namespace ferrolux {

enum class TdrWindow { kNone, kHann, kKaiser };

inline constexpr double kKaiserBeta = 6;

// The weight at x in [-1, 1], 1 at the middle: Hann is cos^2(pi x / 2), Kaiser
// I0(beta sqrt(1 - x^2)) / I0(beta).
double WindowWeight(TdrWindow window, double x);

// "none", "Hann", "Kaiser beta 6", as a reader is told which one was used.
std::string_view WindowName(TdrWindow window);

// The largest sidelobe relative to the peak, with some margin: a lesser peak within this fraction
// of a larger one may be that one's sidelobe rather than a reflection.
double SidelobeFloor(TdrWindow window);

}  // namespace ferrolux
