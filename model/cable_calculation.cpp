#include "model/cable_calculation.hpp"

#include "model/estimate_limits.hpp"

namespace ferrolux {

namespace {

EstimateShown ShownFor(float shackSwr, const LossFigures& estimate) {
  if (BeyondEstimate(shackSwr)) return EstimateShown::kAboveSixNotice;
  if (WarnsOfHighSwr(estimate.realSwr)) return EstimateShown::kHighSwrWarning;
  return EstimateShown::kFigures;
}

constexpr double kMetresPerFoot = 0.3048;

ExactResult ExactFigures(const CableNumbers& cable, const CableSettings& settings) {
  const ExactRequest& r = settings.exact;
  ExactResult e;
  e.velocityFactor = r.velocityFactor > 0 ? r.velocityFactor : cable.velocityFactor;
  e.refOhms = r.refOhms > 0 ? r.refOhms : cable.impedanceOhms;
  const Line line = MakeLine(cable, e.velocityFactor, settings.freqMHz, settings.lengthFt * kMetresPerFoot);
  e.z0 = line.z0;
  if (r.input == ExactInput::kAntennaZ) e.point = ExactFromAntenna(line, r.z, e.refOhms, settings.powerW);
  else if (r.input == ExactInput::kShackZ) e.point = ExactFromShack(line, r.z, e.refOhms, settings.powerW);
  else e.range = ExactSwrRange(line, settings.shackSwr, e.refOhms, settings.powerW);
  return e;
}

bool OtherReference(const CableNumbers& cable, const ExactRequest& r) {
  return r.refOhms > 0 && r.refOhms != cable.impedanceOhms;
}

// The exact model, where there is one, is the judge of whether a passive load gives the reading.
LineVerdict VerdictOf(const CableCalculation& c, bool otherReference) {
  if (otherReference) return LineVerdict::kOtherReference;
  if (c.line.figures) return LineVerdict::kFigures;
  if (LossBeyondAnyFigure(c.matchedLossDb)) return LineVerdict::kBeyondAnyReading;
  if (!c.exact) return LineVerdict::kNoPassiveLoad;
  if (c.exact->point) return LineVerdict::kNotRepresentable;
  return c.exact->range->passiveShare > 0 ? LineVerdict::kNotRepresentable : LineVerdict::kNoPassiveLoad;
}

}  // namespace

bool HasLineData(const CableNumbers& cable, double velocityFactor) {
  return cable.impedanceOhms > 0 && (velocityFactor > 0 || cable.velocityFactor > 0);
}

double MatchedLossPer100Ft(const CableNumbers& cable, double freqMHz) {
  return static_cast<double>(CablePolynomial(cable.k0, cable.k1, cable.k2, freqMHz));
}

CableCalculation CalculateCable(const CableNumbers& cable, const CableSettings& settings) {
  CableCalculation c;
  if (settings.exact.input != ExactInput::kNone && HasLineData(cable, settings.exact.velocityFactor))
    c.exact = ExactFigures(cable, settings);
  c.shackSwr = c.exact && c.exact->point ? c.exact->point->shackSwr : settings.shackSwr;
  const auto shackSwr = static_cast<float>(c.shackSwr);
  c.estimate = ComputeLosses(static_cast<float>(cable.k0), static_cast<float>(cable.k1), static_cast<float>(cable.k2),
                             static_cast<float>(settings.freqMHz), static_cast<float>(settings.lengthFt),
                             static_cast<float>(settings.powerW), shackSwr);
  c.shown = ShownFor(shackSwr, c.estimate);
  c.matchedPer100Ft = MatchedLossPer100Ft(cable, settings.freqMHz);
  c.matchedLossDb = c.matchedPer100Ft / 100 * settings.lengthFt;
  c.line = SolveLine(LossRatio(c.matchedLossDb), c.shackSwr, settings.powerW);
  c.lineVerdict = VerdictOf(c, OtherReference(cable, settings.exact));
  if (c.lineVerdict != LineVerdict::kFigures) c.line.figures.reset();
  return c;
}

}  // namespace ferrolux
