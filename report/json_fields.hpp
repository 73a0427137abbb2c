#pragma once
// The names scripts see in CSV headers and JSON keys for a catalog record's sixteen fields, and
// JSON laid out as dump(2) lays it out but written a piece at a time.

#include <array>
#include <complex>
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "catalog/catalog.hpp"
#include "report/records.hpp"

namespace ferrolux {

struct FieldName {
  int column;
  std::string_view key;
  bool numeric;  // read with the program's number rules; in JSON a number, or null when empty
};

inline constexpr std::array<FieldName, 16> kCableFields{{
    {column::kType, "type", false},
    {column::kPartNumber, "part_number", false},
    {column::kImpedance, "impedance_ohms", true},
    {column::kVelocityFactor, "velocity_factor", true},
    {column::kCapacitance, "capacitance_pf_per_ft", true},
    {column::kCenterConductor, "center_conductor", false},
    {column::kDielectric, "dielectric", false},
    {column::kShield, "shield", false},
    {column::kJacket, "jacket", false},
    {column::kDiameter, "diameter", false},
    {column::kRms, "rms", false},
    {column::kK0, "k0", true},
    {column::kK1, "k1", true},
    {column::kK2, "k2", true},
    {column::kDescription, "description", false},
    {column::kRecommendedUses, "recommended_uses", false},
}};

// A figure that may not be finite: null then, as JSON has no inf or nan.
nlohmann::ordered_json NumberOrNull(double value);

// An impedance as {"re": R, "im": X}.
nlohmann::ordered_json ImpedanceJson(std::complex<double> z);

// Every field of the record, texts as texts and numbers as the catalog writes them.
Record CableFields(const CatalogRow& cable);

// Every field of the record, texts as texts and numbers as numbers.
nlohmann::ordered_json CableJson(const CatalogRow& cable);

// The value as dump(2) writes it when it stands `level` levels deep in a larger document.
std::string IndentedJson(const nlohmann::ordered_json& value, int level);

// An object laid out as dump(2) lays it out: the members of `before`, then `list` written element
// by element, then the members of `after`; a long list is never held as one document.
void WriteJsonWithList(std::ostream& out, const nlohmann::ordered_json& before, std::string_view list,
                       std::size_t count, const std::function<nlohmann::ordered_json(std::size_t)>& element,
                       const nlohmann::ordered_json& after = nlohmann::ordered_json::object());

// A JSON array written element by element as it is produced, laid out as dump(2) lays out the
// whole array `level` levels deep: a long list is never held as one document.
class JsonArrayWriter {
 public:
  JsonArrayWriter(std::ostream& out, int level);
  void Add(const nlohmann::ordered_json& element);
  void Close();  // the closing bracket

 private:
  std::ostream& out_;
  int level_;
  bool empty_ = true;
};

}  // namespace ferrolux
