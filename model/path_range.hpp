#pragma once
// A path of elements when only the SWR at the shack is known: its figures over every load phase.

#include <vector>

#include "model/element_path.hpp"
#include "model/exact_figures.hpp"

namespace ferrolux {

// One element's loss into its own impedance: a cable's into its Z0.
double ElementMatchedLossDb(const PathElement& element, double freqMHz);

// Each cable's matched loss into its own Z0, plus each connector's and lumped loss.
double PathMatchedLossDb(const std::vector<PathElement>& path, double freqMHz);

// As ExactSwrRange for one line, in closed form through the path's chain matrix.
SwrRange PathSwrRange(const std::vector<PathElement>& path, double freqMHz, double shackSwr, double refOhms,
                      double powerW);

}  // namespace ferrolux
