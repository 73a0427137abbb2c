#include "tools/fit/catalog_build.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "catalog/catalog_line.hpp"
#include "platform/utf8_args.hpp"
#include "tools/fit/input_checks.hpp"
#include "tools/fit/table_file.hpp"

namespace ferrolux::fit {

namespace {

constexpr size_t kCapacity = 115;  // records the program's catalog table holds
constexpr char kQuote = '"';       // the catalog loader drops it
constexpr bool kRequired = true;

struct CablePoints {
  const TableRow* first = nullptr;
  std::vector<LossPoint> points;
  int lastLine = 0;
};

std::string Key(const std::string& maker, const std::string& partNumber) { return maker + " " + partNumber; }

class CatalogBuilder {
 public:
  CatalogBuilder(const Table& points, const Table& facts, double maxMhz)
      : points_(points), facts_(facts), maxMhz_(maxMhz), cables_(GroupPoints()) {}
  BuiltCatalog Build() const;

 private:
  std::map<std::string, CablePoints> GroupPoints() const;
  const CablePoints& PointsOf(const TableRow& fact, std::set<std::string>& used) const;
  void CheckEveryCableHasFacts(const std::set<std::string>& used) const;
  CableFit Fit(const TableRow& fact, const CablePoints& cable) const;
  std::string Record(const TableRow& fact, const CablePoints& cable, const CableFit& fit) const;
  std::string Fact(const TableRow& fact, const std::string& column, bool required = false) const;
  std::string Published(const CablePoints& cable, const std::string& column) const;
  std::string Diameter(const CablePoints& cable) const;

  const Table& points_;
  const Table& facts_;
  double maxMhz_;
  std::map<std::string, CablePoints> cables_;
};

std::map<std::string, CablePoints> CatalogBuilder::GroupPoints() const {
  const size_t maker = points_.Column("maker"), part = points_.Column("part_number");
  const size_t mhz = points_.Column("freq_mhz"), loss = points_.Column("loss_db_per_100ft");
  std::map<std::string, CablePoints> cables;
  for (const TableRow& row : points_.rows) {
    CablePoints& cable = cables[Key(row.fields[maker], row.fields[part])];
    if (!cable.first) cable.first = &row;
    cable.points.push_back(ReadPoint(row.fields[mhz], row.fields[loss], points_.file, row.line));
    cable.lastLine = row.line;
  }
  return cables;
}

const CablePoints& CatalogBuilder::PointsOf(const TableRow& fact, std::set<std::string>& used) const {
  const std::string key = Key(fact.fields[facts_.Column("maker")], fact.fields[facts_.Column("part_number")]);
  const auto found = cables_.find(key);
  if (found == cables_.end()) throw InputError(facts_.file, fact.line, "no points for " + key);
  if (!used.insert(key).second) throw InputError(facts_.file, fact.line, "a second row for " + key);
  return found->second;
}

void CatalogBuilder::CheckEveryCableHasFacts(const std::set<std::string>& used) const {
  const size_t maker = points_.Column("maker"), part = points_.Column("part_number");
  for (const TableRow& row : points_.rows) {
    const std::string key = Key(row.fields[maker], row.fields[part]);
    if (!used.contains(key))
      throw InputError(points_.file, row.line,
                       "no row in " + platform::Utf8OfPath(facts_.file.filename()) + " for " + key);
  }
}

CableFit CatalogBuilder::Fit(const TableRow& fact, const CablePoints& cable) const {
  return {Fact(fact, "Part Number", kRequired), FitPoints(cable.points, maxMhz_, points_.file, cable.lastLine)};
}

std::string CatalogBuilder::Fact(const TableRow& fact, const std::string& column, bool required) const {
  const std::string& text = fact.fields[facts_.Column(column)];
  if (required && text.empty()) throw InputError(facts_.file, fact.line, column + " is empty");
  if (text.find(kQuote) != std::string::npos)
    throw InputError(facts_.file, fact.line, column + " holds a double quote, which the catalog loader drops");
  return text;
}

std::string CatalogBuilder::Published(const CablePoints& cable, const std::string& column) const {
  const std::string& text = cable.first->fields[points_.Column(column)];
  if (!text.empty() && !ReadNumber(text))
    throw InputError(points_.file, cable.first->line, column + " is not a number: " + text);
  return text;
}

// 0.405 becomes ".405 in", the program's own style for numbers below 1, which also keeps the
// cable block's row of short facts inside the frame.
std::string CatalogBuilder::Diameter(const CablePoints& cable) const {
  std::string inches = Published(cable, "od_in");
  if (inches.empty()) return inches;
  return (inches.rfind("0.", 0) == 0 ? inches.substr(1) : inches) + " in";
}

std::string CatalogBuilder::Record(const TableRow& fact, const CablePoints& cable, const CableFit& fit) const {
  CatalogRow record;
  record[column::kType] = Fact(fact, "Type", kRequired);
  record[column::kPartNumber] = fit.partNumber;
  record[column::kImpedance] = Published(cable, "impedance_ohm");
  record[column::kVelocityFactor] = Published(cable, "vf");
  record[column::kCapacitance] = Published(cable, "cap_pf_per_ft");
  record[column::kCenterConductor] = Fact(fact, "Center Conductor");
  record[column::kDielectric] = Fact(fact, "Dielectric Type");
  record[column::kShield] = Fact(fact, "Shield Type");
  record[column::kJacket] = Fact(fact, "Jacket Material");
  record[column::kDiameter] = Diameter(cable);
  record[column::kRms] = Fact(fact, "RMS");
  record[column::kK0] = CoefficientText(fit.fit.k.k0);
  record[column::kK1] = CoefficientText(fit.fit.k.k1);
  record[column::kK2] = CoefficientText(fit.fit.k.k2);
  record[column::kDescription] = Fact(fact, "Description", kRequired);
  record[column::kRecommendedUses] = Fact(fact, "Recommended Uses", kRequired);
  return CatalogLine(record);
}

BuiltCatalog CatalogBuilder::Build() const {
  BuiltCatalog built;
  std::set<std::string> used;
  for (const TableRow& fact : facts_.rows) {
    if (built.cables.size() == kCapacity)
      throw InputError(facts_.file, fact.line,
                       "more than " + std::to_string(kCapacity) + " cables, the catalog's capacity");
    const CablePoints& cable = PointsOf(fact, used);
    built.cables.push_back(Fit(fact, cable));
    built.text += Record(fact, cable, built.cables.back());
  }
  CheckEveryCableHasFacts(used);
  return built;
}

}  // namespace

BuiltCatalog BuildCatalog(const std::filesystem::path& points, const std::filesystem::path& facts, double maxMhz) {
  const Table pointTable = ReadTable(points);
  const Table factTable = ReadTable(facts);
  return CatalogBuilder(pointTable, factTable, maxMhz).Build();
}

ShippedFit FitPoints(const std::vector<LossPoint>& points, double maxMhz, const std::filesystem::path& file, int line) {
  const std::vector<LossPoint> used = PointsToFit(points, maxMhz, file, line);
  const Coefficients fitted = FitCoefficients(used);
  if (fitted.k0 == 0 && fitted.k1 == 0 && fitted.k2 == 0)
    throw InputError(file, line, "no finite fit: the frequencies or losses are out of all proportion");
  const auto shipped = [](double k) { return ReadNumber(CoefficientText(k)).value_or(0); };
  const Coefficients k{shipped(fitted.k0), shipped(fitted.k1), shipped(fitted.k2)};
  return {used.size(), k, MeasureFit(k, used)};
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace ferrolux::fit
