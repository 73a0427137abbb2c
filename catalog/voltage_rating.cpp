#include "catalog/voltage_rating.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <string_view>

#include "text/text.hpp"

namespace ferrolux {

namespace {

struct UnitForm {
  std::string_view unit;
  double scale;
  bool rms;
};

// A bare "V" and "Vdc" are read as peaks: a DC rating is what the insulation stands at every
// instant, and an unqualified one says nothing of RMS, so the RF crest is the cautious match.
constexpr std::array<UnitForm, 8> kUnits{{{"kvrms", 1000, true},
                                          {"vrms", 1, true},
                                          {"kvdc", 1000, false},
                                          {"vdc", 1, false},
                                          {"kvp", 1000, false},
                                          {"vp", 1, false},
                                          {"kv", 1000, false},
                                          {"v", 1, false}}};

std::string Lowered(const std::string& text) {
  std::string lowered;
  for (const char c : text)
    if (c != ' ') lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

}  // namespace

std::optional<VoltageRating> ReadVoltageRating(const std::string& text) {
  const std::string lowered = Lowered(text);
  for (const UnitForm& form : kUnits) {
    if (!lowered.ends_with(form.unit)) continue;
    const std::optional<double> value =
        ReadDecimal(std::string_view(lowered).substr(0, lowered.size() - form.unit.size()));
    if (!value || !std::isfinite(*value) || !(*value > 0)) return std::nullopt;
    return VoltageRating{*value * form.scale, form.rms};
  }
  return std::nullopt;
}

bool ExceedsRating(const VoltageRating& rating, double rmsVolts) {
  return (rating.rms ? rmsVolts : rmsVolts * std::sqrt(2.0)) > rating.volts;
}

std::string RatingRule(const VoltageRating& rating) {
  if (rating.rms) return "an RMS rating";
  return "taken as a peak, as a DC or unqualified rating is what the insulation stands at every instant";
}

}  // namespace ferrolux
