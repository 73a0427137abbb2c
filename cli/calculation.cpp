#include "cli/calculation.hpp"

#include "model/estimate_limits.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

float Coefficient(const CatalogRow& cable, int column) { return static_cast<float>(ParseNumber(cable[column])); }

}  // namespace

double MatchedLossPer100Ft(const CatalogRow& cable, double freqMHz) {
  return static_cast<double>(CablePolynomial(ParseNumber(cable[column::kK0]), ParseNumber(cable[column::kK1]),
                                             ParseNumber(cable[column::kK2]), freqMHz));
}

Calculation Calculate(const CatalogRow& cable, const Settings& settings) {
  Calculation c;
  const auto shackSwr = static_cast<float>(settings.shackSwr);
  c.estimate = ComputeLosses(Coefficient(cable, column::kK0), Coefficient(cable, column::kK1),
                             Coefficient(cable, column::kK2), static_cast<float>(settings.freqMHz),
                             static_cast<float>(settings.lengthFt), static_cast<float>(settings.powerW), shackSwr);
  if (BeyondEstimate(shackSwr)) c.shown = EstimateShown::kAboveSixNotice;
  else if (WarnsOfHighSwr(c.estimate.realSwr)) c.shown = EstimateShown::kHighSwrWarning;
  c.matchedPer100Ft = MatchedLossPer100Ft(cable, settings.freqMHz);
  c.matchedLossDb = c.matchedPer100Ft / 100 * settings.lengthFt;
  c.line = SolveLine(LossRatio(c.matchedLossDb), settings.shackSwr, settings.powerW);
  return c;
}

}  // namespace ferrolux::cli
