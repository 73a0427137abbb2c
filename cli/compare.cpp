#include "cli/compare.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/calc_report.hpp"
#include "cli/exact_report.hpp"
#include "report/exact_columns.hpp"
#include "report/json_fields.hpp"
#include "report/line_limits.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kBarCells = 10;
const std::string kMissing = "-";

const LineFigures* LineOf(const ComparedCable& row) {
  return row.calculation.line.figures ? &*row.calculation.line.figures : nullptr;
}

bool OtherReference(const ComparedCable& row) { return row.calculation.lineVerdict == LineVerdict::kOtherReference; }

// Where the line equations do not apply or cannot represent the reading, they say nothing.
bool LineSilent(const ComparedCable& row) {
  const LineVerdict v = row.calculation.lineVerdict;
  return v == LineVerdict::kOtherReference || v == LineVerdict::kNotRepresentable;
}

bool Estimated(const ComparedCable& row) { return row.calculation.shown == EstimateShown::kFigures; }

// Possible readings by total loss, then impossible ones by matched loss.
bool LessLoss(const ComparedCable& a, const ComparedCable& b) {
  const LineFigures* la = LineOf(a);
  const LineFigures* lb = LineOf(b);
  if ((la == nullptr) != (lb == nullptr)) return la != nullptr;
  if (la) return la->totalLossDb < lb->totalLossDb;
  return a.calculation.matchedLossDb < b.calculation.matchedLossDb;
}

bool LessExact(const ComparedCable& a, const ComparedCable& b) {
  return ExactSortKey(a.calculation) < ExactSortKey(b.calculation);
}

bool LessName(const ComparedCable& a, const ComparedCable& b) {
  const std::string& ta = a.type;
  const std::string& tb = b.type;
  if (UpperCase(ta) != UpperCase(tb)) return UpperCase(ta) < UpperCase(tb);
  return UpperCase(a.partNumber) < UpperCase(b.partNumber);
}

// A stable sort of the rows through their indices, moved into place along the permutation's
// cycles: sorting the rows themselves would borrow a buffer as large as all of them.
template <typename Less>
void SortInPlace(std::vector<ComparedCable>& rows, Less less) {
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(rows[a], rows[b]); });
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    ComparedCable held = std::move(rows[start]);
    size_t at = start;
    while (order[at] != start) {
      const size_t from = order[at];
      rows[at] = std::move(rows[from]);
      order[at] = at;
      at = from;
    }
    rows[at] = std::move(held);
    order[at] = at;
  }
}

CellColor BarColor(double percent) {
  constexpr double kModest = 25, kHeavy = 50;
  return percent < kModest ? CellColor::kGreen : percent < kHeavy ? CellColor::kYellow : CellColor::kRed;
}

TableRow TextRow(const ComparedCable& row, const OutputStyle& style, bool bar) {
  const Calculation& c = row.calculation;
  const LineFigures* l = LineOf(row);
  std::string last;
  if (LossBeyondAnyReading(c)) last = kBeyondAnyReading;
  else if (LineSilent(row)) last = "";
  else if (!l) last = "max " + PlainNumberText(RoundHalfEven(c.line.highestShackSwr, 2), 15) + ":1";
  else if (bar) last = PercentBar(l->powerLostPct, kBarCells, style.utf8);
  return {DisplayText(row.type, style.utf8),
          DisplayText(row.partNumber, style.utf8),
          row.impedanceOhms > 0 ? PlainNumberText(row.impedanceOhms, 7) : kMissing,
          FixedText(c.matchedLossDb, 2),
          l                 ? FixedText(l->totalLossDb, 2)
          : LineSilent(row) ? kMissing
                            : "impossible",
          ExactTotalText(c),
          Estimated(row) ? FixedText(c.estimate.totalLoss, 2) : kMissing,
          l ? FixedText(l->powerOutW, 1) : kMissing,
          l ? FixedText(l->powerLostPct, 1) : kMissing,
          last};
}

// The bar, last on its line, in the colour of the share it shows.
RowLooks TextLooks(const ComparedCable& row, size_t columns) {
  RowLooks looks(columns);
  const LineFigures* l = LineOf(row);
  if (l && !LossBeyondAnyReading(row.calculation) && !LineSilent(row)) looks.back() = {BarColor(l->powerLostPct), true};
  return looks;
}

Record RowRecord(const ComparedCable& row) {
  const Calculation& c = row.calculation;
  const LineFigures* l = LineOf(row);
  return {{"type", JsonText(row.type)},
          {"part_number", JsonText(row.partNumber)},
          {"impedance_ohms", NumberOr(row.impedanceOhms > 0, row.impedanceOhms)},
          {"matched_loss_db_per_100ft", c.matchedPer100Ft},
          {"matched_loss_db_per_100m", c.matchedPer100Ft / kMetresPerFoot},
          {"matched_loss_db", c.matchedLossDb},
          {"estimate_total_loss_db", NumberOr(Estimated(row), Widened(c.estimate.totalLoss))},
          {"possible", LineSilent(row) ? FieldValue(nullptr) : FieldValue(l != nullptr)},
          {"total_loss_db", NumberOr(l, l ? l->totalLossDb : 0)},
          {"power_out_w", NumberOr(l, l ? l->powerOutW : 0)},
          {"power_lost_pct", NumberOr(l, l ? l->powerLostPct : 0)},
          {"antenna_swr", NumberOr(l, l ? l->antennaSwr : 0)},
          {"highest_shack_swr", c.line.highestShackSwr}};
}

// The exact range as two columns, and the impedance after the columns scripts already count on.
Record CsvRecord(const ComparedCable& row) {
  constexpr int kImpedanceField = 2;
  Record record = RowRecord(row);
  Field impedance = std::move(record[kImpedanceField]);
  record.erase(record.begin() + kImpedanceField);
  const std::array<std::string, 2> exact = ExactTotalCells(row.calculation);
  record.push_back({"exact_total_loss_db_min", exact[0]});
  record.push_back({"exact_total_loss_db_max", exact[1]});
  record.push_back(std::move(impedance));
  return record;
}

std::string OhmsText(double ohms) { return PlainNumberText(ohms, 7) + " Ohms"; }

// "SWR 1.5:1 in the shack", "35-j20 Ohms at the antenna", "against 50 Ohms" when the meter's
// reference is given.
std::string ReadingText(const Settings& settings, const ExactRequest& exact) {
  const std::string against = exact.refOhms > 0 ? " against " + OhmsText(exact.refOhms) : "";
  switch (exact.input) {
    case ExactInput::kAntennaZ: return "load " + ImpedanceText(exact.z) + " Ohms at the antenna" + against;
    case ExactInput::kShackZ: return ImpedanceText(exact.z) + " Ohms read in the shack" + against;
    case ExactInput::kNone:
    case ExactInput::kShackSwr: break;
  }
  return "SWR " + PlainNumberText(settings.shackSwr, 7) + ":1" + against + " in the shack";
}

Json InputsJson(const Settings& settings, const ExactRequest& exact) {
  Json inputs = SettingsJson(settings);
  if (exact.input == ExactInput::kAntennaZ || exact.input == ExactInput::kShackZ) {
    inputs.erase("shack_swr");
    inputs[exact.input == ExactInput::kAntennaZ ? "antenna_z" : "shack_z"] = ImpedanceJson(exact.z);
  }
  inputs["reference_ohms"] = exact.refOhms > 0 ? Json(exact.refOhms) : Json(nullptr);
  return inputs;
}

// Whether the cables differ in nominal impedance: only then does a column tell them apart.
bool MixedImpedances(const std::vector<ComparedCable>& rows) {
  return std::any_of(rows.begin(), rows.end(),
                     [&](const ComparedCable& row) { return row.impedanceOhms != rows.front().impedanceOhms; });
}

// The type cut to fit a terminal, never the part number; the bars only on a terminal.
void WriteTextTable(std::ostream& out, const std::vector<ComparedCable>& rows, const OutputStyle& style) {
  constexpr int kOhmsColumn = 2;
  std::vector<TableColumn> columns = {{"Type", false, true},     {"Part number", false, false}, {"Ohms", true, false},
                                      {"Matched", true, false},  {"Total", true, false},        {"Exact", true, false},
                                      {"Estimate", true, false}, {"Out", true, false},          {"Lost %", true, false},
                                      {"", false, false}};
  const bool ohms = MixedImpedances(rows);
  if (!ohms) columns.erase(columns.begin() + kOhmsColumn);
  const bool bars = style.terminal && style.columns > 0;
  std::vector<TableRow> cells;
  std::vector<RowLooks> looks;
  cells.reserve(rows.size());
  looks.reserve(rows.size());
  for (const ComparedCable& row : rows) {
    cells.push_back(TextRow(row, style, bars));
    if (!ohms) cells.back().erase(cells.back().begin() + kOhmsColumn);
    looks.push_back(TextLooks(row, columns.size()));
  }
  WriteTable(out, columns, std::move(cells), {style.terminal ? style.columns : 0, style.utf8, style.color}, looks);
}

// "; 50 Ohm cables" when every cable has that impedance; the table has a column when they differ.
std::string CommonImpedanceText(const std::vector<ComparedCable>& rows) {
  if (rows.empty() || MixedImpedances(rows) || !(rows.front().impedanceOhms > 0)) return "";
  return "; " + PlainNumberText(rows.front().impedanceOhms, 7) + " Ohm cables";
}

}  // namespace

std::string PercentBar(double percent, int cells, bool utf8) {
  static const char* const kEighths[] = {"", "▏", "▎", "▍", "▌", "▋", "▊", "▉"};
  const double filled = std::clamp(percent, 0.0, 100.0) / 100 * cells;
  if (!utf8) return std::string(static_cast<size_t>(std::lround(filled)), '#');
  const auto eighths = static_cast<int>(std::lround(filled * 8));
  std::string bar;
  for (int i = 0; i < eighths / 8; ++i) bar += "█";
  return bar + kEighths[eighths % 8];
}

std::vector<ComparedCable> CompareCables(std::vector<CatalogRow> cables, const Settings& settings, CompareOrder order,
                                         const ExactRequest& exact) {
  const bool impedanceGiven = exact.input == ExactInput::kAntennaZ || exact.input == ExactInput::kShackZ;
  // The names and numbers first, so that the catalog is gone before the far larger rows are made.
  struct Named {
    std::string type, partNumber;
    CableNumbers numbers;
  };
  std::vector<Named> named;
  named.reserve(cables.size());
  for (CatalogRow& cable : cables) {
    const CableNumbers numbers = ReadCableNumbers(cable);
    // Without the line model there is no shack SWR to work the other columns from.
    if (impedanceGiven && !HasLineData(numbers, exact.velocityFactor)) continue;
    named.push_back({std::move(cable[column::kType]), std::move(cable[column::kPartNumber]), numbers});
  }
  std::vector<CatalogRow>().swap(cables);
  std::vector<ComparedCable> rows;
  rows.reserve(named.size());
  for (Named& cable : named)
    rows.push_back({std::move(cable.type), std::move(cable.partNumber), cable.numbers.impedanceOhms,
                    Calculate(cable.numbers, settings, exact)});
  if (order == CompareOrder::kTotal && std::any_of(rows.begin(), rows.end(), OtherReference))
    order = CompareOrder::kExact;
  switch (order) {
    case CompareOrder::kExact: SortInPlace(rows, LessExact); break;
    case CompareOrder::kTotal: SortInPlace(rows, LessLoss); break;
    case CompareOrder::kName: SortInPlace(rows, LessName); break;
    case CompareOrder::kMatched:
      SortInPlace(rows, [](const ComparedCable& a, const ComparedCable& b) {
        return a.calculation.matchedLossDb < b.calculation.matchedLossDb;
      });
      break;
  }
  return rows;
}

std::vector<CatalogRow> KeepImpedance(std::vector<CatalogRow> cables, double ohms) {
  std::erase_if(cables, [ohms](const CatalogRow& cable) { return ReadCableNumbers(cable).impedanceOhms != ohms; });
  return cables;
}

void WriteCompareText(std::ostream& out, const std::vector<ComparedCable>& rows, const Settings& settings,
                      const OutputStyle& style, const ExactRequest& exact) {
  out << DescribeRun(settings) << ", " << ReadingText(settings, exact) << CommonImpedanceText(rows) << '\n'
      << "dB and watts; Total: line equations; Estimate: the results screen's estimate\n";
  if (std::any_of(rows.begin(), rows.end(), OtherReference))
    out << "Total: the line equations hold only for cables whose impedance is the meter's reference: - for the "
           "others, and the rows go by the exact total\n";
  WriteTextTable(out, rows, style);
}

void WriteCompareCsv(std::ostream& out, const std::vector<ComparedCable>& rows) {
  WriteCsv(out, CsvRecord(ComparedCable{}), rows.size(), [&rows](size_t i) { return CsvRecord(rows[i]); });
}

void WriteCompareJson(std::ostream& out, const std::vector<ComparedCable>& rows, const Settings& settings,
                      const ExactRequest& exact) {
  WriteJsonWithList(out, {{"inputs", InputsJson(settings, exact)}}, "cables", rows.size(), [&](size_t i) {
    Json j = JsonOf(RowRecord(rows[i]));
    j["exact_total_loss_db"] = ExactTotalJson(rows[i].calculation);
    j["extrapolated"] = Extrapolated(rows[i].partNumber, settings.freqMHz, settings.freqMHz);
    return j;
  });
}

}  // namespace ferrolux::cli
