#include "cli/calculation.hpp"

namespace ferrolux::cli {

Calculation Calculate(const CatalogCable& cable, const Settings& settings) {
  return CalculateCable(cable.numbers, {settings.lengthFt, settings.powerW, settings.shackSwr, settings.freqMHz});
}

}  // namespace ferrolux::cli
