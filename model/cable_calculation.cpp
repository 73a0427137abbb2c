#include "model/cable_calculation.hpp"

#include "model/estimate_limits.hpp"

namespace ferrolux {

namespace {

EstimateShown ShownFor(float shackSwr, const LossFigures& estimate) {
  if (BeyondEstimate(shackSwr)) return EstimateShown::kAboveSixNotice;
  if (WarnsOfHighSwr(estimate.realSwr)) return EstimateShown::kHighSwrWarning;
  return EstimateShown::kFigures;
}

}  // namespace

double MatchedLossPer100Ft(const CableNumbers& cable, double freqMHz) {
  return static_cast<double>(CablePolynomial(cable.k0, cable.k1, cable.k2, freqMHz));
}

CableCalculation CalculateCable(const CableNumbers& cable, const CableSettings& settings) {
  CableCalculation c;
  const auto shackSwr = static_cast<float>(settings.shackSwr);
  c.estimate = ComputeLosses(static_cast<float>(cable.k0), static_cast<float>(cable.k1), static_cast<float>(cable.k2),
                             static_cast<float>(settings.freqMHz), static_cast<float>(settings.lengthFt),
                             static_cast<float>(settings.powerW), shackSwr);
  c.shown = ShownFor(shackSwr, c.estimate);
  c.matchedPer100Ft = MatchedLossPer100Ft(cable, settings.freqMHz);
  c.matchedLossDb = c.matchedPer100Ft / 100 * settings.lengthFt;
  c.line = SolveLine(LossRatio(c.matchedLossDb), settings.shackSwr, settings.powerW);
  return c;
}

}  // namespace ferrolux
