#include "cli/calculation.hpp"

namespace ferrolux::cli {

Calculation Calculate(const CatalogCable& cable, const Settings& settings, ExactRequest exact) {
  return Calculate(cable.numbers, settings, exact);
}

Calculation Calculate(const CableNumbers& cable, const Settings& settings, ExactRequest exact) {
  if (exact.input == ExactInput::kNone) exact.input = ExactInput::kShackSwr;
  return CalculateCable(cable, {settings.lengthFt, settings.powerW, settings.shackSwr, settings.freqMHz, exact});
}

}  // namespace ferrolux::cli
