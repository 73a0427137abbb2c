#pragma once
// One cable under one set of settings, worked out both ways: the estimate the results screen
// shows, and the line equations.

#include "catalog/catalog.hpp"
#include "cli/settings.hpp"
#include "model/line_equations.hpp"
#include "model/loss.hpp"

namespace ferrolux::cli {

// What the results screen shows for the estimate.
enum class EstimateShown {
  kFigures,
  kHighSwrWarning,  // the estimated SWR at the antenna is 20 or more
  kAboveSixNotice,  // the estimator has no bracket above a measured 6:1
};

struct Calculation {
  LossFigures estimate;  // single precision, as the results screen computes it
  EstimateShown shown = EstimateShown::kFigures;
  double matchedPer100Ft = 0;  // double precision, for the line equations
  double matchedLossDb = 0;
  LineSolution line;
};

Calculation Calculate(const CatalogRow& cable, const Settings& settings);

// The matched loss per 100 ft at a frequency, in double precision.
double MatchedLossPer100Ft(const CatalogRow& cable, double freqMHz);

}  // namespace ferrolux::cli
