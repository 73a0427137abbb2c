#include "cli/json_fields.hpp"

#include "cli/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

nlohmann::ordered_json CableJson(const CatalogRow& cable) {
  nlohmann::ordered_json fields = nlohmann::ordered_json::object();
  for (const FieldName& field : kCableFields) {
    const std::string& cell = cable[field.column];
    const std::string key(field.key);
    if (!field.numeric) fields[key] = JsonText(cell);
    else if (cell.empty()) fields[key] = nullptr;
    else fields[key] = ParseNumber(cell);
  }
  return fields;
}

nlohmann::ordered_json SettingsJson(const Settings& s) {
  using Json = nlohmann::ordered_json;
  return {{"length_ft", s.lengthFt},    {"length_m", s.lengthM},
          {"power_w", s.powerW},        {"shack_swr", s.shackSwr},
          {"frequency_mhz", s.freqMHz}, {"band", s.band.empty() ? Json(nullptr) : Json(s.band)}};
}

}  // namespace ferrolux::cli
