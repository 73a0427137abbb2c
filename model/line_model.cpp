#include "model/line_model.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace ferrolux {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// 20 log10(e): nepers to decibels.
const double kDbPerNeper = 20 * std::log10(std::numbers::e);
// dB per 100 ft to nepers per metre.
const double kDbPer100FtPerNeperPerMetre = kDbPerNeper * kMetresPer100Ft;

// Below and above these the line is taken as at the nearer one: at 0 Hz no line of this kind
// has the catalog's loss, and far above, ωL·ωC leaves a double.
constexpr double kLowestModelMHz = 1e-6;
constexpr double kHighestModelMHz = 1e6;

// Per metre, before the loss is scaled to the catalog's: series R0 + Rs(1 + j) + jωL∞ and shunt
// G + jωC. A negative k would make a line give power, so it counts as none.
struct LineConstants {
  double r0 = 0, rs = 0, g = 0, omegaL = 0, omegaC = 0;
  double attenuation = 0;  // the catalog's matched loss in nepers per metre
};

LineConstants ConstantsOf(const CableNumbers& cable, double velocityFactor, double freqMHz) {
  const double zn = cable.impedanceOhms, speed = velocityFactor * kSpeedOfLight;
  const double omega = 2 * std::numbers::pi * freqMHz * 1e6;
  const double polynomial = cable.k0 + cable.k1 * std::sqrt(freqMHz) + cable.k2 * freqMHz;
  return {2 * zn * std::fmax(cable.k0, 0.0) / kDbPer100FtPerNeperPerMetre,
          2 * zn * std::fmax(cable.k1, 0.0) * std::sqrt(freqMHz) / kDbPer100FtPerNeperPerMetre,
          2 * std::fmax(cable.k2, 0.0) * freqMHz / kDbPer100FtPerNeperPerMetre / zn,
          omega * zn / speed,
          omega / (zn * speed),
          std::fmax(polynomial, 0.0) / kDbPer100FtPerNeperPerMetre};
}

Complex SeriesZ(const LineConstants& c, double scale) { return {scale * (c.r0 + c.rs), c.omegaL + scale * c.rs}; }

Complex ShuntY(const LineConstants& c, double scale) { return {scale * c.g, c.omegaC}; }

// With γ² = ZY, Re γ = α exactly where Im(γ²)² + 4α² Re(γ²) - 4α⁴ = 0. As a polynomial in the
// scale it has one sign change in its coefficients, so one positive root, and it is convex for
// scales above 0: Newton's steps from any point above the root fall onto it without overshoot.
struct AttenuationGap {
  double value, slope;
};

AttenuationGap GapAt(const LineConstants& c, double scale) {
  const double a = c.r0 + c.rs, alpha2 = c.attenuation * c.attenuation;
  const double im = scale * (a * c.omegaC + c.omegaL * c.g) + scale * scale * c.rs * c.g;
  const double imSlope = a * c.omegaC + c.omegaL * c.g + 2 * scale * c.rs * c.g;
  const double re = scale * scale * a * c.g - c.omegaC * (c.omegaL + scale * c.rs);
  const double reSlope = 2 * scale * a * c.g - c.omegaC * c.rs;
  return {im * im + 4 * alpha2 * (re - alpha2), 2 * im * imSlope + 4 * alpha2 * reSlope};
}

// The one scale of R0, Rs and G that gives the catalog's matched loss; 0 for a lossless line.
double LossScale(const LineConstants& c) {
  if (!(c.attenuation > 0)) return 0;
  double scale = 1;  // the loss split as a line without internal reactance: near the root
  for (int doubling = 0; doubling < 2048 && GapAt(c, scale).value <= 0; ++doubling) scale *= 2;
  for (int step = 0; step < 64; ++step) {
    const AttenuationGap gap = GapAt(c, scale);
    const double next = scale - gap.value / gap.slope;
    if (!(next < scale) || !(next > 0)) break;  // rounding has stopped the descent
    scale = next;
  }
  return scale;
}

double ModelMHz(double freqMHz) {
  return std::isnan(freqMHz) ? kLowestModelMHz : std::clamp(freqMHz, kLowestModelMHz, kHighestModelMHz);
}

// Past this real part cosh(2x) overflows a double and tanh is 1 to the last bit. C libraries
// differ there: glibc gives 1, MinGW's gives nan, which became a "nan" shack impedance on Windows.
constexpr double kTanhSaturates = 354;

Complex Tanh(Complex x) {
  if (std::fabs(x.real()) > kTanhSaturates) return {std::copysign(1.0, x.real()), 0.0};
  return std::tanh(x);
}

}  // namespace

Line MakeLine(const CableNumbers& cable, double velocityFactor, double freqMHz, double lengthM) {
  const LineConstants c = ConstantsOf(cable, velocityFactor, ModelMHz(freqMHz));
  const double scale = LossScale(c);
  const Complex series = SeriesZ(c, scale), shunt = ShuntY(c, scale);
  return {std::sqrt(series / shunt), std::sqrt(series * shunt), lengthM};
}

double VelocityFactorOf(const Line& line, double freqMHz) {
  return 2 * std::numbers::pi * ModelMHz(freqMHz) * 1e6 / (line.gamma.imag() * kSpeedOfLight);
}

LineTransfer::LineTransfer(const Line& line)
    : z0_(line.z0),
      tanh_(Tanh(line.gamma * line.lengthM)),
      cosh_(std::cosh(line.gamma * line.lengthM)),
      sinh_(std::sinh(line.gamma * line.lengthM)) {}

Complex LineTransfer::ShackZ(Complex antennaZ) const {
  return z0_ * (antennaZ + z0_ * tanh_) / (z0_ + antennaZ * tanh_);
}

Complex LineTransfer::AntennaZ(Complex shackZ) const { return z0_ * (shackZ - z0_ * tanh_) / (z0_ - shackZ * tanh_); }

double LineTransfer::TotalLossDb(Complex antennaZ) const {
  const double taken = antennaZ.real();  // with 1 A into the load
  if (!(taken > 0)) return kInfinity;
  const Complex vin = antennaZ * cosh_ + z0_ * sinh_;
  const Complex iin = cosh_ + antennaZ / z0_ * sinh_;
  return 10 * std::log10((vin * std::conj(iin)).real() / taken);
}

Complex ShackImpedance(const Line& line, Complex antennaZ) { return LineTransfer(line).ShackZ(antennaZ); }

Complex AntennaImpedance(const Line& line, Complex shackZ) { return LineTransfer(line).AntennaZ(shackZ); }

double MatchedLossDb(const Line& line) { return kDbPerNeper * line.gamma.real() * line.lengthM; }

double TotalLossDb(const Line& line, Complex antennaZ) { return LineTransfer(line).TotalLossDb(antennaZ); }

Complex Reflection(Complex z, double refOhms) { return (z - refOhms) / (z + refOhms); }

double Swr(Complex z, double refOhms) {
  const double magnitude = std::abs(Reflection(z, refOhms));
  return magnitude < 1 ? (1 + magnitude) / (1 - magnitude) : kInfinity;
}

double ReturnLossDb(Complex z, double refOhms) {
  const double magnitude = std::abs(Reflection(z, refOhms));
  return magnitude == 0 ? kInfinity : -20 * std::log10(magnitude);
}

}  // namespace ferrolux
