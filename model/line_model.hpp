#pragma once
// A feed line of complex characteristic impedance, made from the catalog's matched loss and
// velocity factor, and the impedances, reflections and losses it gives.

#include <complex>

#include "model/cable_numbers.hpp"

namespace ferrolux {

using Complex = std::complex<double>;

inline constexpr double kSpeedOfLight = 299'792'458;  // m/s
inline constexpr double kMetresPer100Ft = 30.48;

struct Line {
  Complex z0;     // characteristic impedance, ohms
  Complex gamma;  // propagation constant per metre (nepers + j radians)
  double lengthM = 0;
};

// Per metre, series R0 + Rs(1 + j) + jωL∞ and shunt G + jωC: R0 from k0, the skin effect's Rs
// from k1 sqrt f with the equal internal reactance of a conductor's surface, G from k2 f, L∞ and
// C from the nominal impedance and the velocity factor. R0, Rs and G are scaled together so the
// matched loss is the catalog's polynomial exactly; Z0 and the velocity then drift with frequency
// as real coax does. Needs the impedance and the velocity factor above 0.
Line MakeLine(const CableNumbers& cable, double velocityFactor, double freqMHz, double lengthM);

// The wave's speed on the line over light's: ω / (Im γ c) at the frequency the line was made for.
double VelocityFactorOf(const Line& line, double freqMHz);

// The impedance at the shack end with `antennaZ` at the far end, and back.
Complex ShackImpedance(const Line& line, Complex antennaZ);
Complex AntennaImpedance(const Line& line, Complex shackZ);

// The loss of the line into a matched load: 20 log10(e) Re(γ) ℓ.
double MatchedLossDb(const Line& line);

// The power fed in at the shack over the power the load takes, in dB; infinite when the load
// takes none (R = 0).
double TotalLossDb(const Line& line, Complex antennaZ);

// The same transforms with the line's hyperbolic functions worked out once, for sweeps.
class LineTransfer {
 public:
  explicit LineTransfer(const Line& line);
  Complex ShackZ(Complex antennaZ) const;
  Complex AntennaZ(Complex shackZ) const;
  double TotalLossDb(Complex antennaZ) const;

 private:
  Complex z0_, tanh_, cosh_, sinh_;
};

// Referred to a real reference impedance.
Complex Reflection(Complex z, double refOhms);
double Swr(Complex z, double refOhms);           // infinite for |Γ| >= 1
double ReturnLossDb(Complex z, double refOhms);  // infinite for a perfect match

// A load that takes power rather than giving it.
constexpr bool IsPassive(Complex z) { return z.real() >= 0; }

}  // namespace ferrolux
