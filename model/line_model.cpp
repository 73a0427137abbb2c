#include "model/line_model.hpp"

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

// Past this real part cosh(2x) overflows a double and tanh is 1 to the last bit. C libraries
// differ there: glibc gives 1, MinGW's gives nan, which became a "nan" shack impedance on Windows.
constexpr double kTanhSaturates = 354;

Complex Tanh(Complex x) {
  if (std::fabs(x.real()) > kTanhSaturates) return {std::copysign(1.0, x.real()), 0.0};
  return std::tanh(x);
}

}  // namespace

Line MakeLine(const CableNumbers& cable, double velocityFactor, double freqMHz, double lengthM) {
  const double zn = cable.impedanceOhms;
  const double conductor = (cable.k0 + cable.k1 * std::sqrt(freqMHz)) / kDbPer100FtPerNeperPerMetre;
  const double dielectric = cable.k2 * freqMHz / kDbPer100FtPerNeperPerMetre;
  const double omega = 2 * std::numbers::pi * freqMHz * 1e6;
  const double speed = velocityFactor * kSpeedOfLight;
  const Complex series(2 * zn * conductor, omega * zn / speed);
  const Complex shunt(2 * dielectric / zn, omega / (zn * speed));
  return {std::sqrt(series / shunt), std::sqrt(series * shunt), lengthM};
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
