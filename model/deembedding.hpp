#pragma once
// A one-port seen through a feed line, one frequency at a time: a reading at the shack end
// carried to the antenna end (de-embedding), or a load at the antenna end carried to the shack.
// Point by point, so a sweep of any length is worked out as it is written, never held.

#include <vector>

#include "model/cable_numbers.hpp"
#include "model/element_path.hpp"
#include "model/line_model.hpp"

namespace ferrolux {

struct FeedLine {
  CableNumbers cable;
  double velocityFactor = 0;  // above 0
  double lengthM = 0;
  double refOhms = 0;  // the SWRs are against this
};

struct LinePoint {
  double freqMHz = 0;
  Complex shackZ, antennaZ;  // an exact open at the shack is infinite
  bool passive = true;       // false: the antenna end comes out active; no antenna SWR or total loss
  double shackSwr = 0, antennaSwr = 0, matchedLossDb = 0, totalLossDb = 0;
};

// The antenna end for `shackZ` read at the shack. An exact open (a calibration standard, a
// simulated file) gives the limit of the transform, -Z0 coth(γℓ), which is not passive.
LinePoint DeembedAt(const FeedLine& line, double freqMHz, Complex shackZ);

// The shack end for `antennaZ` at the far end; an open (infinite) reads Z0 coth(γℓ).
LinePoint EmbedAt(const FeedLine& line, double freqMHz, Complex antennaZ);

// As DeembedAt through a path of elements, its SWRs against `refOhms`; the matched loss is the sum
// of each element's into its own impedance.
LinePoint DeembedThroughPathAt(const std::vector<PathElement>& path, double refOhms, double freqMHz, Complex shackZ);

}  // namespace ferrolux
