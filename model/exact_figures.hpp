#pragma once
// The line model's figures for what a ham measures: an impedance at either end, or only the SWR
// in the shack, over every load phase that gives it.

#include "model/line_model.hpp"

namespace ferrolux {

struct ExactPoint {
  bool passive = true;             // false: no passive load gives this shack reading; no figures
  bool takesPower = true;          // false: a purely reactive load; the losses are infinite
  bool lossBeyondFigures = false;  // the line's loss overflows a double: no loss or power figures
  Complex shackZ, antennaZ;
  double shackSwr = 1, antennaSwr = 1;
  double shackReturnLossDb = 0, antennaReturnLossDb = 0;
  double matchedLossDb = 0, totalLossDb = 0;
  double mismatchLossDb = 0;  // total - matched; below 0 on a short line into some loads
  double powerOutW = 0, powerLostPct = 0;
};

ExactPoint ExactFromAntenna(const Line& line, Complex antennaZ, double refOhms, double powerW);
ExactPoint ExactFromShack(const Line& line, Complex shackZ, double refOhms, double powerW);

// The load that makes the shack end read an exact open: -Z0 coth(γℓ), not passive on a lossy line.
Complex AntennaBehindAnOpen(const Line& line);

// The antenna end for a shack reading, an exact open (infinite) included.
Complex AntennaImpedanceOf(const Line& line, Complex shackZ);

// A range over the passive load phases; no upper end when some phases have no passive load.
struct ExactSpan {
  double min = 0, max = 0;
  bool bounded = true;
};

struct SwrRange {
  double passiveShare = 0;         // of the load phases, 0 to 1; at 0 the spans mean nothing
  bool lossBeyondFigures = false;  // the line's loss overflows a double: only the matched loss
  double matchedLossDb = 0;
  ExactSpan totalLossDb, antennaSwr, powerOutW;
};

// Every reflection of magnitude (S - 1) / (S + 1) at the shack, over its whole phase; the
// extremes are found in closed form, so a long compare pays a few complex products per cable.
SwrRange ExactSwrRange(const Line& line, double shackSwr, double refOhms, double powerW);

// The volts and amps at the load of any two-port fed 1 + Γ volts and (1 - Γ) / R amps at the shack,
// linear in the shack's reflection Γ: a path of several elements has its range as a line does.
struct LoadWaves {
  Complex voltageSlope, voltageBase, currentSlope, currentBase;  // VL = aΓ + b, IL = cΓ + d
};

SwrRange SwrRangeOfWaves(const LoadWaves& waves, double matchedLossDb, double shackSwr, double refOhms, double powerW);

}  // namespace ferrolux
