#pragma once
// The exact line model's options: an impedance at either end, the meter's reference, a measured
// velocity factor.

#include <string>

#include "catalog/cable.hpp"
#include "model/cable_calculation.hpp"

namespace ferrolux::cli {

// The options as typed; empty when not given.
struct ExactTexts {
  std::string antennaZ, shackZ, refOhms, vf;
};

// "50", "35-j20", "100+100j", "12.5-3.2j": R, then optionally + or - and X with j (or J, or i)
// before or after it, as hams copy it: blanks around the sign, the Unicode minus, parentheses,
// an ohm suffix ("38 - j22 ohm", "(38-22j)", "38−j22Ω"). Anything else is a usage error naming
// the option and quoting what was not understood.
Complex ReadImpedance(const std::string& option, const std::string& text);

ExactRequest ReadExactRequest(const ExactTexts& texts);

// A usage error when an impedance is given for a cable whose catalog record lacks the nominal
// impedance or the velocity factor (and no --vf stands in).
void CheckLineData(const ExactRequest& request, const ExactTexts& texts, const CatalogCable& cable);

}  // namespace ferrolux::cli
