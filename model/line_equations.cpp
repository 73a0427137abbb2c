#include "model/line_equations.hpp"

#include <cmath>
#include <limits>

namespace ferrolux {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double ReturnLossDb(double reflection) {
  const double magnitude = std::fabs(reflection);
  return magnitude == 0 ? kInfinity : -20 * std::log10(magnitude);
}

double Decibels(double ratio) { return 10 * std::log10(ratio); }

}  // namespace

double LossRatio(double matchedLossDb) { return std::pow(10.0, matchedLossDb / 10); }

bool LossBeyondAnyFigure(double matchedLossDb) { return !std::isfinite(LossRatio(matchedLossDb)); }

double HighestShackSwr(double lossRatio) {
  if (lossRatio <= 1) return kInfinity;
  return (lossRatio + 1) / (lossRatio - 1);
}

LineSolution SolveLine(double lossRatio, double shackSwr, double powerW) {
  LineSolution solution;
  solution.highestShackSwr = HighestShackSwr(lossRatio);
  LineFigures f;
  f.lossRatio = lossRatio;
  // Below 1 an SWR reads as its inverse: the same reflection.
  f.shackReflection = std::fabs(shackSwr - 1) / (shackSwr + 1);
  f.antennaReflection = f.shackReflection * lossRatio;
  if (!(std::fabs(f.antennaReflection) < 1)) return solution;
  const double a = lossRatio, g2 = f.antennaReflection * f.antennaReflection;
  f.antennaSwr = (1 + f.antennaReflection) / (1 - f.antennaReflection);
  // a - |Γa|² / a rather than a² - |Γa|²: a² overflows long before a does.
  f.totalLossDb = Decibels((a - g2 / a) / (1 - g2));
  f.swrLossDb = f.totalLossDb - Decibels(a);
  const double delivered = std::pow(10.0, -f.totalLossDb / 10);
  f.powerOutW = powerW * delivered;
  f.powerLostPct = 100 * (1 - delivered);
  f.shackReturnLossDb = ReturnLossDb(f.shackReflection);
  f.antennaReturnLossDb = ReturnLossDb(f.antennaReflection);
  solution.figures = f;
  return solution;
}

}  // namespace ferrolux
