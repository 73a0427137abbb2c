#pragma once
// A feed line of several elements from the shack to the antenna (cables, connectors and lumped
// losses), cascaded exactly, with the figures at every joint between them.

#include <string>
#include <vector>

#include "model/cable_numbers.hpp"
#include "model/connector_loss.hpp"
#include "model/line_model.hpp"
#include "model/standing_wave.hpp"

namespace ferrolux {

// No cable's dielectric slows a wave below a tenth of light's speed (that would be a permittivity
// of 100); below it a wave's phase along any length runs past a double.
inline constexpr double kSlowestVelocityFactor = 0.1;

struct PathCable {
  std::string name;  // as the catalog names it
  CableNumbers numbers;
  double velocityFactor = 0;  // the catalog's, or the one given for this piece; kSlowestVelocityFactor to 1
  double lengthM = 0;
};

enum class ElementKind { kCable, kConnector, kLumped };

struct PathElement {
  ElementKind kind = ElementKind::kLumped;
  PathCable cable;                                  // a cable
  ConnectorFamily connector = ConnectorFamily::kN;  // a connector
  double lumpedDb = 0;                              // a lumped loss
};

// A two-port as its chain matrix: shack-side volts and amps from the antenna side's. It is kept
// near 1 in size, so a long lossy path never overflows: the true matrix is this one times a
// common factor of size e^logScale, whose phase no impedance or power sees.
struct Abcd {
  Complex a = 1, b, c, d = 1;
  double logScale = 0;
};

// A cable is its own line (its own complex Z0 and γ); a connector or a lumped loss is a matched
// attenuator of its loss in `lineOhms`, the impedance of the line it sits in.
Abcd ElementAbcd(const PathElement& element, double freqMHz, double lineOhms);

// The whole path, shack end first. A connector or lumped loss sits in the line of the nearest
// cable on its shack side (else on its antenna side); only a path of no cable at all takes
// `refOhms`, the meter's reference, as its line's impedance.
Abcd PathAbcd(const std::vector<PathElement>& path, double freqMHz, double refOhms);

// The impedance at the shack end with `antennaZ` at the far end (an open is infinite), and back.
Complex ShackZThrough(const Abcd& path, Complex antennaZ);
Complex AntennaZThrough(const Abcd& path, Complex shackZ);

struct Joint {
  Complex z;          // looking toward the antenna; infinite for an open
  double swr = 1;     // against the reference; infinite for |Γ| >= 1
  double powerW = 0;  // passing toward the antenna
};

struct ElementFigures {
  double lossDb = 0, lossW = 0;  // in dB infinite when nothing reaches its far side (a reactive load)
  // A cable's highest RMS voltage and current along it, at the power fed in.
  double peakVolts = 0, peakAmps = 0;
};

struct PathFigures {
  // false: no power flows in (a lossless path into a reactive load), or some joint passes power
  // back toward the shack (an active load): impedances and SWRs only.
  bool powerFigures = true;
  std::vector<Joint> joints;  // the shack first, then behind each element; the last is the antenna
  std::vector<ElementFigures> elements;
  double totalLossDb = 0, powerOutW = 0;  // the loss infinite into a reactive load or an open
};

// The path's elements as PathAbcd cascades them; `refOhms` sets the SWRs, and the losses only
// of a path of no cable.
PathFigures SolvePath(const std::vector<PathElement>& path, double freqMHz, Complex antennaZ, double refOhms,
                      double powerW);

// Element `cable`'s highest RMS voltage and current alone, as SolvePath gives them; none for an
// element that is no cable or when SolvePath gives no power figures.
WavePeaks CablePeaksThrough(const std::vector<PathElement>& path, size_t cable, double freqMHz, Complex antennaZ,
                            double refOhms, double powerW);

}  // namespace ferrolux
