#pragma once
// One cable under the command line's settings, worked out by the model.

#include "catalog/cable.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"

namespace ferrolux::cli {

using Calculation = CableCalculation;

Calculation Calculate(const CatalogCable& cable, const Settings& settings);

}  // namespace ferrolux::cli
