#include "model/exact_figures.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "model/line_equations.hpp"

namespace ferrolux {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double DeliveredShare(double totalLossDb) { return std::pow(10.0, -totalLossDb / 10); }

void SetPowers(ExactPoint& p, double powerW) {
  const double delivered = p.takesPower ? DeliveredShare(p.totalLossDb) : 0;
  p.powerOutW = powerW * delivered;
  p.powerLostPct = 100 * (1 - delivered);
}

// Over the phase θ of a shack reflection Γ = m e^jθ (referred to a real R), with 1 + Γ volts and
// (1 - Γ) / R amps fed in, the power fed in is (1 - m²) / R whatever the phase, and the load's
// voltage and current are linear in Γ. So the power the load takes is a sinusoid in θ, and |ΓL|² at
// the antenna a ratio of two sinusoids: both have their extremes in closed form.
struct Sinusoid {
  double mean = 0;
  Complex swing;  // the value at θ is mean + Re(swing e^jθ)

  double At(double phase) const { return mean + (swing * std::polar(1.0, phase)).real(); }
};

// |pΓ + q|² as a sinusoid in the phase of Γ.
Sinusoid SquaredMagnitude(Complex p, Complex q, double m) {
  return {std::norm(p) * m * m + std::norm(q), 2 * m * p * std::conj(q)};
}

LoadWaves WavesAtLoad(const Line& line, double refOhms) {
  const Complex gl = line.gamma * line.lengthM;
  const Complex ch = std::cosh(gl), sh = std::sinh(gl);
  const Complex zs = line.z0 * sh / refOhms, ys = sh / line.z0, cr = ch / refOhms;
  return {ch + zs, ch - zs, -(ys + cr), cr - ys};
}

// The share of the phases at which the sinusoid is at least 0.
double ShareAtLeastZero(const Sinusoid& s) {
  const double swing = std::abs(s.swing);
  if (s.mean >= swing) return 1;
  if (s.mean < -swing) return 0;
  return std::acos(-s.mean / swing) / std::numbers::pi;
}

// The smallest and largest of n(θ) / d(θ), at the phases where its slope is zero: there
// Im((dm ns - nm ds) e^jθ) = Im(conj(ns) ds), with nm, dm the means and ns, ds the swings.
std::pair<double, double> RatioExtremes(const Sinusoid& n, const Sinusoid& d) {
  const Complex c = d.mean * n.swing - n.mean * d.swing;
  const double k = (std::conj(n.swing) * d.swing).imag();
  const auto ratio = [&](double phase) { return n.At(phase) / d.At(phase); };
  double low = ratio(0), high = low;
  if (std::abs(c) == 0) return {low, high};
  const double turn = std::asin(std::clamp(k / std::abs(c), -1.0, 1.0)), shift = std::arg(c);
  for (const double phase : {turn - shift, std::numbers::pi - turn - shift}) {
    low = std::fmin(low, ratio(phase));
    high = std::fmax(high, ratio(phase));
  }
  return {low, high};
}

// A passive load reflects at most everything: rounding must not make its return loss negative.
double PassiveReturnLossDb(Complex z, double refOhms) {
  const double db = ReturnLossDb(z, refOhms);
  return db > 0 ? db : 0.0;
}

// Adding +0 turns a -0 (typed as "50-j0", or left by rounding) into +0, which prints as 0.
Complex WithoutNegativeZeros(Complex z) { return {z.real() + 0.0, z.imag() + 0.0}; }

double SwrOfSquared(double squared) {
  const double magnitude = std::sqrt(std::fmax(squared, 0.0));
  return magnitude < 1 ? (1 + magnitude) / (1 - magnitude) : kInfinity;
}

}  // namespace

ExactPoint ExactFromAntenna(const Line& line, Complex antennaZ, double refOhms, double powerW) {
  ExactPoint p;
  p.antennaZ = WithoutNegativeZeros(antennaZ);
  p.shackZ = WithoutNegativeZeros(ShackImpedance(line, antennaZ));
  p.passive = IsPassive(antennaZ);
  p.takesPower = antennaZ.real() > 0;
  p.shackSwr = Swr(p.shackZ, refOhms);
  // |Γ| of a reactive load is 1, though rounding may leave it a hair below.
  p.antennaSwr = p.passive && !p.takesPower ? kInfinity : Swr(antennaZ, refOhms);
  p.shackReturnLossDb = PassiveReturnLossDb(p.shackZ, refOhms);
  p.antennaReturnLossDb = !p.passive     ? ReturnLossDb(antennaZ, refOhms)
                          : p.takesPower ? PassiveReturnLossDb(antennaZ, refOhms)
                                         : 0.0;
  p.matchedLossDb = MatchedLossDb(line);
  p.totalLossDb = TotalLossDb(line, antennaZ);
  p.lossBeyondFigures = p.takesPower && !std::isfinite(p.totalLossDb);
  if (p.lossBeyondFigures) return p;
  p.mismatchLossDb = p.totalLossDb - p.matchedLossDb;
  SetPowers(p, powerW);
  return p;
}

ExactPoint ExactFromShack(const Line& line, Complex shackZ, double refOhms, double powerW) {
  ExactPoint p = ExactFromAntenna(line, AntennaImpedanceOf(line, shackZ), refOhms, powerW);
  p.shackZ = WithoutNegativeZeros(shackZ);
  p.shackSwr = Swr(shackZ, refOhms);
  p.shackReturnLossDb = PassiveReturnLossDb(shackZ, refOhms);
  return p;
}

Complex AntennaBehindAnOpen(const Line& line) { return -line.z0 / std::tanh(line.gamma * line.lengthM); }

Complex AntennaImpedanceOf(const Line& line, Complex shackZ) {
  if (std::isinf(shackZ.real()) || std::isinf(shackZ.imag())) return AntennaBehindAnOpen(line);
  return AntennaImpedance(line, shackZ);
}

SwrRange ExactSwrRange(const Line& line, double shackSwr, double refOhms, double powerW) {
  return SwrRangeOfWaves(WavesAtLoad(line, refOhms), MatchedLossDb(line), shackSwr, refOhms, powerW);
}

SwrRange SwrRangeOfWaves(const LoadWaves& w, double matchedLossDb, double shackSwr, double refOhms, double powerW) {
  const double m = std::fabs((shackSwr - 1) / (shackSwr + 1));
  const Sinusoid taken = {
      (w.voltageSlope * std::conj(w.currentSlope)).real() * m * m + (w.voltageBase * std::conj(w.currentBase)).real(),
      m * (w.voltageSlope * std::conj(w.currentBase) + std::conj(w.voltageBase) * w.currentSlope)};
  SwrRange range;
  range.matchedLossDb = matchedLossDb;
  if (LossBeyondAnyFigure(range.matchedLossDb) || !std::isfinite(taken.mean) || !std::isfinite(std::abs(taken.swing))) {
    // Every load then looks matched from the shack: only 1:1 has passive loads behind it.
    range.lossBeyondFigures = true;
    range.passiveShare = m > 0 ? 0 : 1;
    return range;
  }
  range.passiveShare = ShareAtLeastZero(taken);
  if (range.passiveShare == 0) return range;
  const double fedIn = (1 - m * m) / refOhms, most = taken.mean + std::abs(taken.swing);
  const double least = taken.mean - std::abs(taken.swing);
  const bool bounded = least > 0;
  range.totalLossDb = {10 * std::log10(fedIn / most), bounded ? 10 * std::log10(fedIn / least) : kInfinity, bounded};
  const auto [lowSquared, highSquared] = RatioExtremes(
      SquaredMagnitude(w.voltageSlope - refOhms * w.currentSlope, w.voltageBase - refOhms * w.currentBase, m),
      SquaredMagnitude(w.voltageSlope + refOhms * w.currentSlope, w.voltageBase + refOhms * w.currentBase, m));
  range.antennaSwr = {SwrOfSquared(lowSquared), bounded ? SwrOfSquared(highSquared) : kInfinity, bounded};
  range.powerOutW = {powerW * (bounded ? DeliveredShare(range.totalLossDb.max) : 0),
                     powerW * DeliveredShare(range.totalLossDb.min), true};
  return range;
}

}  // namespace ferrolux
