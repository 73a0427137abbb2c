#pragma once
// A cable's voltage rating as the catalog's rating column gives it ("1900 V", "2500 Vdc", "740 Vp",
// "5 kVrms"), set against the highest RMS voltage along the cable.

#include <optional>
#include <string>

namespace ferrolux {

struct VoltageRating {
  double volts = 0;
  bool rms = false;  // else a peak: the RF peak, √2 times the RMS, is what is compared
};

// Only a number and a voltage unit; a power rating ("890W@30M", "2.9kWpk") or anything else is none.
std::optional<VoltageRating> ReadVoltageRating(const std::string& text);

// Whether `rmsVolts` along the cable exceeds the rating.
bool ExceedsRating(const VoltageRating& rating, double rmsVolts);

// Why a rating is read as RMS or as a peak, for the text output.
std::string RatingRule(const VoltageRating& rating);

}  // namespace ferrolux
