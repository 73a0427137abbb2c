#pragma once
// Matched-loss coefficients fitted to datasheet points: loss per 100 ft = k0 + k1·√f + k2·f.

#include <vector>

namespace ferrolux::fit {

struct LossPoint {
  double mhz = 0;
  double loss = 0;  // dB per 100 ft
};

struct Coefficients {
  double k0 = 0, k1 = 0, k2 = 0;
};

double LossAt(const Coefficients& k, double mhz);

// The k0, k1, k2 >= 0 with the least sum of squared relative errors over the points. Every
// support of the three terms is solved exactly and the best non-negative one kept; of solutions
// that fit equally well the one with fewer terms wins, so an unneeded term is exactly 0.
// All three are 0 when there are no points or no finite fit.
Coefficients FitCoefficients(const std::vector<LossPoint>& points);

struct FitError {
  double worstRelative = 0;  // |fit - datasheet| / datasheet
  LossPoint atRelative;
  double worstAbsolute = 0;  // dB per 100 ft
  LossPoint atAbsolute;
};

FitError MeasureFit(const Coefficients& k, const std::vector<LossPoint>& points);

}  // namespace ferrolux::fit
