#pragma once
// One cable under one set of settings, worked out every way the program shows: the results
// screen's estimate (and whether its figures are worth showing), the line equations for a real
// characteristic impedance, and the exact line model when asked for.

#include "model/cable_numbers.hpp"
#include "model/line_equations.hpp"
#include "model/loss.hpp"

namespace ferrolux {

// What the results screen shows for the estimate.
enum class EstimateShown {
  kFigures,
  kHighSwrWarning,  // the estimated SWR at the antenna is 20 or more
  kAboveSixNotice,  // the estimator has no bracket above a measured 6:1
};

struct CableSettings {
  double lengthFt = 0;
  double powerW = 0;
  double shackSwr = 1;
  double freqMHz = 0;
};

struct CableCalculation {
  LossFigures estimate;  // single precision, as the results screen computes it
  EstimateShown shown = EstimateShown::kFigures;
  double matchedPer100Ft = 0;  // double precision, for the line equations
  double matchedLossDb = 0;
  LineSolution line;
};

CableCalculation CalculateCable(const CableNumbers& cable, const CableSettings& settings);

// The matched loss per 100 ft at a frequency, in double precision.
double MatchedLossPer100Ft(const CableNumbers& cable, double freqMHz);

}  // namespace ferrolux
