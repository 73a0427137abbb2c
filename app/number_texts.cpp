#include "app/number_texts.hpp"

#include <cmath>

namespace ferrolux {

double RoundHalfEven(double x, int places) {
  const double scale = std::pow(10.0, places);
  // The default rounding mode sends ties to even.
  return std::nearbyint(x * scale) / scale;
}

}  // namespace ferrolux
