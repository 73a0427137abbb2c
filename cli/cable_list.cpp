#include "cli/cable_list.hpp"

#include <cstdio>
#include <ostream>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/calculation.hpp"
#include "cli/json_fields.hpp"
#include "cli/settings.hpp"
#include "cli/table.hpp"

namespace ferrolux::cli {

namespace {

double LossPer100(const CableNumbers& cable, int mhz, bool metric) {
  return MatchedLossPer100Ft(cable, mhz) / (metric ? kMetresPerFoot : 1);
}

std::string LossKey(int mhz, bool metric) {
  return std::string("loss_db_per_100") + (metric ? "m" : "ft") + "_at_" + std::to_string(mhz) + "mhz";
}

std::string TwoPlaces(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

}  // namespace

void WriteCablesText(std::ostream& out, std::vector<CatalogRow> cables, bool metric, const OutputStyle& style) {
  out << "Matched loss in dB per 100 " << (metric ? "m" : "ft") << '\n';
  std::vector<TableColumn> columns = {{"Type", false, true},
                                      {"Part number", false, true},
                                      {"Ohms", true, false},
                                      {"VF", true, false},
                                      {"Diameter", false, true}};
  for (int mhz : kListedMHz) columns.push_back({std::to_string(mhz) + " MHz", true, false});
  std::vector<TableRow> rows;
  rows.reserve(cables.size());
  for (const CatalogRow& cable : cables) {
    TableRow row;
    row.reserve(columns.size());
    for (int c : {column::kType, column::kPartNumber, column::kImpedance, column::kVelocityFactor, column::kDiameter})
      row.push_back(DisplayText(cable[c], style.utf8));
    const CableNumbers numbers = ReadCableNumbers(cable);
    for (int mhz : kListedMHz) row.push_back(TwoPlaces(LossPer100(numbers, mhz, metric)));
    rows.push_back(std::move(row));
  }
  std::vector<CatalogRow>().swap(cables);
  const std::vector<std::string> lines = LayOutTable(columns, rows, style.terminal ? style.columns : 0, style.utf8);
  out << Painted(lines.front(), "1", style.color) << '\n';
  for (size_t i = 1; i < lines.size(); ++i) out << lines[i] << '\n';
}

void WriteCablesCsv(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric) {
  for (const FieldName& field : kCableFields) out << (field.column > 1 ? "," : "") << field.key;
  for (int mhz : kListedMHz) out << ',' << LossKey(mhz, metric);
  out << '\n';
  for (const CatalogRow& cable : cables) {
    for (const FieldName& field : kCableFields)
      out << (field.column > 1 ? "," : "") << CsvField(JsonText(cable[field.column]));
    const CableNumbers numbers = ReadCableNumbers(cable);
    for (int mhz : kListedMHz) out << ',' << MachineNumber(LossPer100(numbers, mhz, metric));
    out << '\n';
  }
}

void WriteCablesJson(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric) {
  JsonArrayWriter list(out, 0);
  for (const CatalogRow& cable : cables) {
    nlohmann::ordered_json j = CableJson(cable);
    const CableNumbers numbers = ReadCableNumbers(cable);
    for (int mhz : kListedMHz) j[LossKey(mhz, metric)] = LossPer100(numbers, mhz, metric);
    list.Add(j);
  }
  list.Close();
  out << '\n';
}

}  // namespace ferrolux::cli
