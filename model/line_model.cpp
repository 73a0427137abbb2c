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

Complex ShackImpedance(const Line& line, Complex antennaZ) {
  const Complex t = std::tanh(line.gamma * line.lengthM);
  return line.z0 * (antennaZ + line.z0 * t) / (line.z0 + antennaZ * t);
}

Complex AntennaImpedance(const Line& line, Complex shackZ) {
  const Complex t = std::tanh(line.gamma * line.lengthM);
  return line.z0 * (shackZ - line.z0 * t) / (line.z0 - shackZ * t);
}

double MatchedLossDb(const Line& line) { return kDbPerNeper * line.gamma.real() * line.lengthM; }

double TotalLossDb(const Line& line, Complex antennaZ) {
  const double taken = antennaZ.real();  // with 1 A into the load
  if (!(taken > 0)) return kInfinity;
  const Complex gl = line.gamma * line.lengthM;
  const Complex ch = std::cosh(gl), sh = std::sinh(gl);
  const Complex vin = antennaZ * ch + line.z0 * sh;
  const Complex iin = ch + antennaZ / line.z0 * sh;
  return 10 * std::log10((vin * std::conj(iin)).real() / taken);
}

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
