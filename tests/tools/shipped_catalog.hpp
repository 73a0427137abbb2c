#pragma once
// The shipped catalog loaded with the program's own loader, beside the points and the facts
// it was made from; record r of the catalog is row r of the facts.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "model/loss_fit.hpp"
#include "support/recorded_reports.hpp"
#include "text/text.hpp"
#include "tools/fit/table_file.hpp"

namespace ferrolux::fit {

inline const std::filesystem::path kDataFolder = FERROLUX_DATA_DIR;
inline const std::filesystem::path kShippedCatalog = kDataFolder / "CableCatalog.txt";
inline const std::filesystem::path kPointsFile = kDataFolder / "cable-points.tsv";
inline const std::filesystem::path kFactsFile = kDataFolder / "cable-facts.tsv";

class ShippedCatalog {
 public:
  ShippedCatalog() {
    LoadCatalog(catalog, reports, error, kShippedCatalog);
    count = static_cast<int>(ParseNumber(catalog[0][1]));
  }

  std::string Fact(int record, const std::string& column) const {
    return facts.rows.at(static_cast<size_t>(record - 1)).fields[facts.Column(column)];
  }
  // The cable's first row in the points file, which carries its published facts.
  const TableRow& FirstPointRow(int record) const {
    for (const TableRow& row : points.rows)
      if (IsPointOf(row, record)) return row;
    throw std::runtime_error("no points for record " + std::to_string(record));
  }
  bool IsPointOf(const TableRow& row, int record) const {
    return Published(row, "maker") == Fact(record, "maker") &&
           Published(row, "part_number") == Fact(record, "part_number");
  }
  std::string Published(const TableRow& row, const std::string& column) const {
    return row.fields[points.Column(column)];
  }
  std::vector<LossPoint> PointsUpTo(int record, double maxMhz) const {
    std::vector<LossPoint> kept;
    for (const TableRow& row : points.rows) {
      if (!IsPointOf(row, record)) continue;
      const LossPoint p{ParseNumber(Published(row, "freq_mhz")), ParseNumber(Published(row, "loss_db_per_100ft"))};
      if (p.mhz <= maxMhz) kept.push_back(p);
    }
    return kept;
  }

  testing::RecordedReports reports;
  CatalogTable catalog = MakeCatalogTable();
  std::string error = "not loaded";
  int count = 0;
  Table points = ReadTable(kPointsFile);
  Table facts = ReadTable(kFactsFile);
};

}  // namespace ferrolux::fit
