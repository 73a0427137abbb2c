#pragma once
// One cable under one set of settings, worked out every way the program shows: the results
// screen's estimate (and whether its figures are worth showing), the line equations for a real
// characteristic impedance, and the exact line model when asked for.

#include <optional>

#include "model/cable_numbers.hpp"
#include "model/exact_figures.hpp"
#include "model/line_equations.hpp"
#include "model/loss.hpp"

namespace ferrolux {

// What the results screen shows for the estimate.
enum class EstimateShown {
  kFigures,
  kHighSwrWarning,  // the estimated SWR at the antenna is 20 or more
  kAboveSixNotice,  // the estimator has no bracket above a measured 6:1
};

// What the exact line model starts from: the shack SWR alone (a range over the load's phase),
// the load at the antenna, or an analyser's reading at the shack.
enum class ExactInput { kNone, kShackSwr, kAntennaZ, kShackZ };

struct ExactRequest {
  ExactInput input = ExactInput::kNone;
  Complex z;                  // the impedance given
  double refOhms = 0;         // the meter's reference; 0: the cable's nominal impedance
  double velocityFactor = 0;  // 0: the catalog's
};

struct CableSettings {
  double lengthFt = 0;
  double powerW = 0;
  double shackSwr = 1;  // unused when an impedance is given: it follows from the impedance
  double freqMHz = 0;
  ExactRequest exact;
};

struct ExactResult {
  Complex z0;
  double refOhms = 0, velocityFactor = 0;
  std::optional<ExactPoint> point;  // an impedance given
  std::optional<SwrRange> range;    // the SWR given
};

// What the line equations' column can say.
enum class LineVerdict {
  kFigures,
  kOtherReference,    // the meter's reference is not the cable's impedance: the equations do not apply
  kBeyondAnyReading,  // 10^(loss / 10) is beyond a double
  kNotRepresentable,  // no load gives the reading on a line of real Z0, yet a passive load does
  kNoPassiveLoad,     // no load gives the reading: the meter or the cable data are wrong
};

struct CableCalculation {
  LossFigures estimate;  // single precision, as the results screen computes it
  EstimateShown shown = EstimateShown::kFigures;
  double matchedPer100Ft = 0;  // double precision, for the line equations
  double matchedLossDb = 0;
  LineSolution line;  // no figures unless the verdict is kFigures
  LineVerdict lineVerdict = LineVerdict::kFigures;
  double shackSwr = 1;               // the SWR the estimate and the line equations start from
  std::optional<ExactResult> exact;  // none unless asked, or when the cable lacks VF or impedance
};

CableCalculation CalculateCable(const CableNumbers& cable, const CableSettings& settings);

// Whether the line model can be made for this cable: a nominal impedance and a velocity factor.
bool HasLineData(const CableNumbers& cable, double velocityFactor);

// The matched loss per 100 ft at a frequency, in double precision.
double MatchedLossPer100Ft(const CableNumbers& cable, double freqMHz);

}  // namespace ferrolux
