#pragma once
// The standing wave along one line of a feed line: where its voltage and current are highest.

#include "model/line_model.hpp"

namespace ferrolux {

struct WavePeaks {
  double volts = 0, amps = 0;  // magnitudes, RMS when the end's phasors are RMS
};

// The highest |V| and |I| anywhere along `line` with `volts` and `amps` times e^logScale at its
// antenna end, into the load (the scale lets a wave too small for a double there be given). On a lossy line the maxima
// ride on a slope, so no closed form gives them: the wave is sampled many times a half wavelength within a half wave of
// each end, where the highest lies, and each best sample refined between its neighbours.
WavePeaks StandingWavePeaks(const Line& line, Complex volts, Complex amps, double logScale = 0);

}  // namespace ferrolux
