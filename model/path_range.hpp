#pragma once
// A path of elements when only the SWR at the shack is known: its figures over every load phase.

#include <vector>

#include "model/element_path.hpp"
#include "model/exact_figures.hpp"
#include "model/standing_wave.hpp"

namespace ferrolux {

// One element's loss into its own impedance: a cable's into its Z0.
double ElementMatchedLossDb(const PathElement& element, double freqMHz);

// Each cable's matched loss into its own Z0, plus each connector's and lumped loss.
double PathMatchedLossDb(const std::vector<PathElement>& path, double freqMHz);

// The cables' part of it: what the path would lose with no connector or lumped loss in it.
double PathCablesMatchedLossDb(const std::vector<PathElement>& path, double freqMHz);

// As ExactSwrRange for one line, in closed form through the path's chain matrix.
SwrRange PathSwrRange(const std::vector<PathElement>& path, double freqMHz, double shackSwr, double refOhms,
                      double powerW);

// Each element's highest RMS voltage and current along it at the worst of every load phase that
// reads `shackSwr` at the shack and is passive, the power fed in being `powerW` (zero for an
// element that is no cable). Empty when no passive load reads that SWR.
std::vector<WavePeaks> PathWorstPeaks(const std::vector<PathElement>& path, double freqMHz, double shackSwr,
                                      double refOhms, double powerW);

}  // namespace ferrolux
