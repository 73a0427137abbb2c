#pragma once
// `ferrolux compare`: every cable of the catalog under the same settings, lowest loss first.

#include <iosfwd>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/calculation.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

enum class CompareOrder { kTotal, kMatched, kName, kExact };

// What a comparison reads of each cable: its name, the numbers of its line, and the centre
// conductor its notes name.
inline constexpr int kComparedColumns[] = {
    column::kType, column::kPartNumber, column::kImpedance, column::kVelocityFactor,
    column::kK0,   column::kK1,         column::kK2,        column::kCenterConductor};

struct ComparedCable {
  std::string type, partNumber;
  double impedanceOhms = 0;  // nominal; 0: the catalog gives none
  Calculation calculation;
};

// By the line equations' total loss (readings no load can give last), by matched loss, by type
// and part number, or by the exact total loss (the upper end of a range; unbounded ranges and
// readings no passive load gives last); ties keep catalog order. Where the meter's reference is
// not some cable's impedance the line equations do not apply, and the total loss is the exact one.
// The cables are taken over, so a large catalog is let go before the output is built.
std::vector<ComparedCable> CompareCables(std::vector<CatalogRow> cables, const Settings& settings, CompareOrder order,
                                         const ExactRequest& exact = {});

// Only the cables of this nominal impedance.
std::vector<CatalogRow> KeepImpedance(std::vector<CatalogRow> cables, double ohms);

// What was given: the SWR, or the impedance at either end (`exact`), and the meter's reference.
void WriteCompareText(std::ostream& out, const std::vector<ComparedCable>& rows, const Settings& settings,
                      const OutputStyle& style, const ExactRequest& exact = {});
void WriteCompareCsv(std::ostream& out, const std::vector<ComparedCable>& rows);
void WriteCompareJson(std::ostream& out, const std::vector<ComparedCable>& rows, const Settings& settings,
                      const ExactRequest& exact = {});

// A bar that fills `cells` cells at 100 percent: in eighths of a block with UTF-8, else in '#'.
std::string PercentBar(double percent, int cells, bool utf8);

}  // namespace ferrolux::cli
