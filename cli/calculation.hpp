#pragma once
// One cable under the command line's settings, worked out by the model.

#include "catalog/cable.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"

namespace ferrolux::cli {

using Calculation = CableCalculation;

// With no exact request the exact figures are a range over the load phases for the shack SWR.
Calculation Calculate(const CatalogCable& cable, const Settings& settings, ExactRequest exact = {});
Calculation Calculate(const CableNumbers& cable, const Settings& settings, ExactRequest exact = {});

}  // namespace ferrolux::cli
