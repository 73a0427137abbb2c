#include "cli/cable_list.hpp"

#include <ostream>
#include <string>
#include <utility>

#include "cli/calculation.hpp"
#include "cli/settings.hpp"
#include "report/json_fields.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

double LossPer100(const CableNumbers& cable, int mhz, bool metric) {
  return MatchedLossPer100Ft(cable, mhz) / (metric ? kMetresPerFoot : 1);
}

std::string LossKey(int mhz, bool metric) {
  return std::string("loss_db_per_100") + (metric ? "m" : "ft") + "_at_" + std::to_string(mhz) + "mhz";
}

// The record's fields, then the matched losses.
Record ListedRecord(const CatalogRow& cable, bool metric) {
  Record record = CableFields(cable);
  const CableNumbers numbers = ReadCableNumbers(cable);
  for (int mhz : kListedMHz) record.push_back({LossKey(mhz, metric), LossPer100(numbers, mhz, metric)});
  return record;
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
    for (int mhz : kListedMHz) row.push_back(FixedText(LossPer100(numbers, mhz, metric), 2));
    rows.push_back(std::move(row));
  }
  std::vector<CatalogRow>().swap(cables);
  WriteTable(out, columns, std::move(rows), {style.terminal ? style.columns : 0, style.utf8, style.color});
}

void WriteCablesCsv(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric) {
  WriteCsv(out, ListedRecord(CatalogRow{}, metric), cables.size(),
           [&](size_t i) { return ListedRecord(cables[i], metric); });
}

void WriteCablesJson(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric) {
  JsonArrayWriter list(out, 0);
  for (const CatalogRow& cable : cables) list.Add(JsonOf(ListedRecord(cable, metric)));
  list.Close();
  out << '\n';
}

}  // namespace ferrolux::cli
