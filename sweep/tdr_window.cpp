#include "sweep/tdr_window.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ferrolux {

double WindowWeight(TdrWindow window, double x) {
  switch (window) {
    case TdrWindow::kNone: return 1;
    case TdrWindow::kHann: {
      const double c = std::cos(std::numbers::pi * x / 2);
      return c * c;
    }
    case TdrWindow::kKaiser: {
      const double inside = std::max(0.0, 1 - x * x);
      static const double atMiddle = std::cyl_bessel_i(0.0, kKaiserBeta);
      return std::cyl_bessel_i(0.0, kKaiserBeta * std::sqrt(inside)) / atMiddle;
    }
  }
  return 1;
}

std::string_view WindowName(TdrWindow window) {
  switch (window) {
    case TdrWindow::kNone: return "none";
    case TdrWindow::kHann: return "Hann";
    case TdrWindow::kKaiser: return "Kaiser beta 6";
  }
  return "none";
}

double SidelobeFloor(TdrWindow window) {
  // Twice the first sidelobe: -13 dB for none, -31 dB for Hann, -44 dB for Kaiser beta 6.
  switch (window) {
    case TdrWindow::kNone: return 0.45;
    case TdrWindow::kHann: return 0.06;
    case TdrWindow::kKaiser: return 0.02;
  }
  return 0.45;
}

}  // namespace ferrolux
