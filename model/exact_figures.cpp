#include "model/exact_figures.hpp"

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

namespace ferrolux {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kPhaseSteps = 720;
constexpr int kRefineSteps = 60;  // golden-section steps: the bracket shrinks by 0.618^60

double DeliveredShare(double totalLossDb) { return std::pow(10.0, -totalLossDb / 10); }

void SetPowers(ExactPoint& p, double powerW) {
  const double delivered = p.takesPower ? DeliveredShare(p.totalLossDb) : 0;
  p.powerOutW = powerW * delivered;
  p.powerLostPct = 100 * (1 - delivered);
}

// The load's figures at one phase of the shack reflection, for the sweep.
struct PhasePoint {
  bool passive = false;
  double totalLossDb = 0, antennaSwr = 0;
};

class PhaseSweep {
 public:
  PhaseSweep(const Line& line, double shackSwr, double refOhms)
      : transfer_(line), magnitude_(std::fabs((shackSwr - 1) / (shackSwr + 1))), ref_(refOhms) {}

  PhasePoint At(double phase) const {
    const Complex reflection = std::polar(magnitude_, phase);
    const Complex shackZ = ref_ * (1.0 + reflection) / (1.0 - reflection);
    const Complex antennaZ = transfer_.AntennaZ(shackZ);
    if (!IsPassive(antennaZ)) return {};
    return {true, transfer_.TotalLossDb(antennaZ), Swr(antennaZ, ref_)};
  }

 private:
  LineTransfer transfer_;
  double magnitude_, ref_;
};

using Figure = std::function<double(const PhasePoint&)>;

// The smallest value of `figure` near `phase`, a non-passive phase counting as infinite.
double RefineMinimum(const PhaseSweep& sweep, const Figure& figure, double phase, double step) {
  const auto value = [&](double at) {
    const PhasePoint p = sweep.At(at);
    return p.passive ? figure(p) : kInfinity;
  };
  const double golden = (std::sqrt(5.0) - 1) / 2;
  double low = phase - step, high = phase + step;
  double a = high - golden * (high - low), b = low + golden * (high - low);
  double fa = value(a), fb = value(b);
  for (int i = 0; i < kRefineSteps; ++i) {
    if (fa <= fb) {
      high = b, b = a, fb = fa, a = high - golden * (high - low), fa = value(a);
    } else {
      low = a, a = b, fa = fb, b = low + golden * (high - low), fb = value(b);
    }
  }
  return std::fmin(value(phase), std::fmin(fa, fb));
}

double SweepMinimum(const PhaseSweep& sweep, const std::vector<PhasePoint>& points, const Figure& figure) {
  const double step = 2 * std::numbers::pi / kPhaseSteps;
  size_t best = 0;
  double bestValue = kInfinity;
  for (size_t i = 0; i < points.size(); ++i) {
    if (points[i].passive && figure(points[i]) < bestValue) bestValue = figure(points[i]), best = i;
  }
  return RefineMinimum(sweep, figure, static_cast<double>(best) * step, step);
}

ExactSpan Span(const PhaseSweep& sweep, const std::vector<PhasePoint>& points, const Figure& figure, bool bounded) {
  ExactSpan span;
  span.min = SweepMinimum(sweep, points, figure);
  span.bounded = bounded;
  span.max = bounded ? -SweepMinimum(sweep, points, [&](const PhasePoint& p) { return -figure(p); }) : kInfinity;
  return span;
}

}  // namespace

ExactPoint ExactFromAntenna(const Line& line, Complex antennaZ, double refOhms, double powerW) {
  ExactPoint p;
  p.antennaZ = antennaZ;
  p.shackZ = ShackImpedance(line, antennaZ);
  p.passive = IsPassive(antennaZ);
  p.takesPower = antennaZ.real() > 0;
  p.shackSwr = Swr(p.shackZ, refOhms);
  p.antennaSwr = Swr(antennaZ, refOhms);
  p.shackReturnLossDb = ReturnLossDb(p.shackZ, refOhms);
  p.antennaReturnLossDb = ReturnLossDb(antennaZ, refOhms);
  p.matchedLossDb = MatchedLossDb(line);
  p.totalLossDb = TotalLossDb(line, antennaZ);
  p.mismatchLossDb = p.totalLossDb - p.matchedLossDb;
  SetPowers(p, powerW);
  return p;
}

ExactPoint ExactFromShack(const Line& line, Complex shackZ, double refOhms, double powerW) {
  ExactPoint p = ExactFromAntenna(line, AntennaImpedance(line, shackZ), refOhms, powerW);
  p.shackZ = shackZ;
  p.shackSwr = Swr(shackZ, refOhms);
  p.shackReturnLossDb = ReturnLossDb(shackZ, refOhms);
  return p;
}

SwrRange ExactSwrRange(const Line& line, double shackSwr, double refOhms, double powerW) {
  const PhaseSweep sweep(line, shackSwr, refOhms);
  std::vector<PhasePoint> points(kPhaseSteps);
  int passive = 0;
  for (int i = 0; i < kPhaseSteps; ++i) {
    points[static_cast<size_t>(i)] = sweep.At(2 * std::numbers::pi * i / kPhaseSteps);
    passive += points[static_cast<size_t>(i)].passive ? 1 : 0;
  }
  SwrRange range;
  range.matchedLossDb = MatchedLossDb(line);
  range.passiveShare = static_cast<double>(passive) / kPhaseSteps;
  if (passive == 0) return range;
  const bool bounded = passive == kPhaseSteps;
  range.totalLossDb = Span(
      sweep, points, [](const PhasePoint& p) { return p.totalLossDb; }, bounded);
  range.antennaSwr = Span(
      sweep, points, [](const PhasePoint& p) { return p.antennaSwr; }, bounded);
  range.powerOutW = {powerW * (bounded ? DeliveredShare(range.totalLossDb.max) : 0),
                     powerW * DeliveredShare(range.totalLossDb.min), true};
  return range;
}

}  // namespace ferrolux
