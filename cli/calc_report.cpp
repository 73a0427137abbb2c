#include "cli/calc_report.hpp"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalog/cable.hpp"
#include "cli/cable_choice.hpp"
#include "cli/exact_report.hpp"
#include "report/json_fields.hpp"
#include "report/line_limits.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "results/estimate_notes.hpp"
#include "results/result_rows.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kColumnGap = 4;
const std::string kMissing = "-";
const std::string kAssumption =
    "Line equations: a real characteristic impedance is assumed; good for ordinary coax above a few MHz, "
    "approximate at HF on thin, lossy cable.";

struct FigureRow {
  std::string label, estimate, line;
};

struct Units {
  std::string per100, length;
  double per100Scale;  // from per 100 ft to the shown unit
};

Units UnitsOf(const Settings& s) {
  return s.metric ? Units{" dB 100 m.", "m.", 1 / kMetresPerFoot} : Units{" dB 100 ft.", "ft.", 1};
}

bool ShackSwrComputed(const Calculation& c) { return c.exact && c.exact->point; }

// A typed SWR as the results screen reads it, in single precision; one worked out from an
// impedance in full.
double ShownShackSwr(const Settings& s, const Calculation& c) {
  return ShackSwrComputed(c) ? s.shackSwr : static_cast<float>(s.shackSwr);
}

std::string ShackRatioText(const Settings& s, const Calculation& c) {
  return SwrRatioText(ShownShackSwr(s, c), ShackSwrComputed(c));
}

std::string ReturnLossText(double db) { return std::isinf(db) ? "infinite" : RoundedText(db, 2) + " dB"; }

ResultWording WordingOf(const Settings& s, const Calculation& c, bool estimate) {
  const Units u = UnitsOf(s);
  return {s.shownLength, u.per100, u.length, ShackSwrComputed(c), estimate};
}

// The estimate in single precision, as the results screen works it out.
ResultFigures EstimateFigures(const Settings& s, const Calculation& c) {
  const auto& e = c.estimate;
  return {static_cast<float>(s.freqMHz),
          e.stdMatchLoss * UnitsOf(s).per100Scale,
          e.matchLoss,
          e.swrLoss,
          e.totalLoss,
          static_cast<float>(s.powerW),
          e.powerOut,
          e.powerLossPct,
          ShownShackSwr(s, c),
          e.realSwr};
}

// The line equations' figures; zeros in the SWR figures where there are none to show.
ResultFigures LineFiguresOf(const Settings& s, const Calculation& c) {
  const LineFigures l = c.line.figures.value_or(LineFigures{});
  return {s.freqMHz,           c.matchedPer100Ft * UnitsOf(s).per100Scale,
          c.matchedLossDb,     l.swrLossDb,
          l.totalLossDb,       s.powerW,
          l.powerOutW,         l.powerLostPct,
          ShownShackSwr(s, c), l.antennaSwr};
}

// The results screen's rows with the line equations' beside them, then the rows only they fill.
std::vector<FigureRow> FigureRows(const Settings& s, const Calculation& c) {
  const std::vector<ResultRow> estimate = ResultRows(EstimateFigures(s, c), WordingOf(s, c, true));
  const std::vector<ResultRow> line = ResultRows(LineFiguresOf(s, c), WordingOf(s, c, false));
  const bool estimated = c.shown == EstimateShown::kFigures, solved = c.line.figures.has_value();
  std::vector<FigureRow> rows;
  for (size_t i = 0; i < estimate.size(); ++i) {
    const bool swr = estimate[i].swrFigure;
    rows.push_back({estimate[i].label, swr && !estimated ? kMissing : estimate[i].value,
                    swr && !solved ? kMissing : line[i].value});
  }
  const LineFigures* l = solved ? &*c.line.figures : nullptr;
  rows.push_back({" Ret. Loss Shack: ", "", l ? ReturnLossText(l->shackReturnLossDb) : kMissing});
  rows.push_back({"  Ret. Loss Ant.: ", "", l ? ReturnLossText(l->antennaReturnLossDb) : kMissing});
  return rows;
}

// The lines the results screen shows instead of its figures.
std::vector<std::string> EstimateNote(const Settings& s, const Calculation& c) {
  return EstimateNoteLines(c.shown, c.estimate.realSwr, SwrText(ShownShackSwr(s, c), ShackSwrComputed(c)));
}

std::vector<std::string> ImpossibleNote(const Settings& s, const Calculation& c) {
  const std::string matched = RoundedText(c.matchedLossDb, 2) + " dB of matched loss";
  switch (c.lineVerdict) {
    case LineVerdict::kFigures: return {};
    case LineVerdict::kOtherReference:
      return {"Line equations: they hold only for a meter whose reference is the cable's impedance; against " +
              TypedText(c.exact ? c.exact->refOhms : 0) + " Ohms they do not apply (see the exact line)."};
    case LineVerdict::kBeyondAnyReading:
      return {"Line equations: with " + matched + ", " + std::string(kBeyondAnyReading) + "."};
    case LineVerdict::kNotRepresentable:
      return {
          "Line equations: their real-Z0 model of this line cannot represent " + ShackRatioText(s, c) + " in the shack",
          "(with " + matched + " it shows at most " + RoundedText(c.line.highestShackSwr, 2) + ":1); " +
              (c.exact->point ? "the exact line below works from the impedance itself."
                              : "the exact line below finds the passive loads that give it.")};
    case LineVerdict::kNoPassiveLoad: break;
  }
  return {"Line equations: no load at the antenna can make this line show " + ShackRatioText(s, c) + " in the shack.",
          "With " + matched + " it shows at most " + RoundedText(c.line.highestShackSwr, 2) +
              ":1, even with the far end open or shorted.",
          "Check the SWR meter and how it is connected, the cable (its length, type and condition)",
          "and the cable's catalog data."};
}

void WriteNote(std::ostream& out, const std::vector<std::string>& lines, const OutputStyle& style) {
  if (lines.empty()) return;
  out << '\n';
  for (const std::string& line : lines) out << Painted(line, "33", style.color) << '\n';
}

// The label and the estimate make one column, the line equations' figures another.
void WriteFigureTable(std::ostream& out, const std::vector<FigureRow>& rows, const OutputStyle& style) {
  const std::vector<TableColumn> columns = {{std::string(rows.front().label.size(), ' ') + "Estimate"},
                                            {"Line equations"}};
  std::vector<TableRow> cells;
  cells.reserve(rows.size());
  for (const FigureRow& row : rows) cells.push_back({row.label + row.estimate, row.line});
  WriteTable(out, columns, std::move(cells), {0, style.utf8, style.color, kColumnGap});
}

Json EstimateJson(const Calculation& c) {
  const auto& e = c.estimate;
  static const char* const kShown[] = {"figures", "high_swr_warning", "above_6_notice"};
  Json j = {{"shown", kShown[static_cast<int>(c.shown)]},
            {"matched_loss_db_per_100ft", Widened(e.stdMatchLoss)},
            {"matched_loss_db", Widened(e.matchLoss)}};
  if (c.shown == EstimateShown::kAboveSixNotice) return j;
  j["real_swr"] = Widened(e.realSwr);
  if (c.shown == EstimateShown::kHighSwrWarning) return j;
  j["swr_loss_db"] = Widened(e.swrLoss);
  j["total_loss_db"] = Widened(e.totalLoss);
  j["power_out_w"] = Widened(e.powerOut);
  j["power_lost_pct"] = Widened(e.powerLossPct);
  return j;
}

// Per 100 m beside per 100 ft when the output is metric.
void AddPer100m(Json& j, const Settings& s, double per100Ft) {
  if (s.metric) j["matched_loss_db_per_100m"] = NumberOrNull(per100Ft / kMetresPerFoot);
}

Json LineJson(const Calculation& c, const Settings& s) {
  const LineFigures& f = *c.line.figures;
  Json j = {{"matched_loss_db_per_100ft", c.matchedPer100Ft}};
  AddPer100m(j, s, c.matchedPer100Ft);
  j.update(Json{{"matched_loss_db", c.matchedLossDb},
                {"loss_ratio", f.lossRatio},
                {"shack_reflection", f.shackReflection},
                {"antenna_reflection", f.antennaReflection},
                {"antenna_swr", f.antennaSwr},
                {"swr_loss_db", f.swrLossDb},
                {"total_loss_db", f.totalLossDb},
                {"power_out_w", f.powerOutW},
                {"power_lost_pct", f.powerLostPct},
                {"shack_return_loss_db", NumberOrNull(f.shackReturnLossDb)},
                {"antenna_return_loss_db", NumberOrNull(f.antennaReturnLossDb)},
                {"highest_shack_swr", NumberOrNull(c.line.highestShackSwr)}});
  return j;
}

const char* LineVerdictName(LineVerdict verdict) {
  static const char* const kNames[] = {"figures", "other_reference", "beyond_any_reading", "not_representable",
                                       "no_passive_load"};
  return kNames[static_cast<int>(verdict)];
}

Json InputsJson(const CatalogRow& cable, const Settings& s) {
  Json inputs = SettingsJson(s);
  inputs["cable"] = CableJson(cable);
  return inputs;
}

// The velocity factor the line model used: the catalog's as it is written there, or one given
// in its place.
std::string VelocityFactorShown(const CatalogRow& cable, const Calculation& c) {
  const std::string& listed = cable[column::kVelocityFactor];
  constexpr int kDigits = 7;
  if (!c.exact || c.exact->velocityFactor == ReadCableNumbers(cable).velocityFactor) return listed;
  return PlainNumberText(c.exact->velocityFactor, kDigits);
}

}  // namespace

bool LossBeyondAnyReading(const Calculation& c) { return LossBeyondAnyFigure(c.matchedLossDb); }

void WriteCalcText(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c,
                   const OutputStyle& style) {
  out << DisplayText("      Cable Type: " + CableName(cable), style.utf8) << '\n';
  const std::string& impedance = cable[column::kImpedance];
  out << DisplayText("       Impedance: " + impedance + " Ohms     VF: " + VelocityFactorShown(cable, c), style.utf8)
      << "\n\n";
  WriteFigureTable(out, FigureRows(settings, c), style);
  WriteNote(out, EstimateNote(settings, c), style);
  WriteNote(out, ImpossibleNote(settings, c), style);
  out << '\n' << kAssumption << '\n';
  WriteExactText(out, settings, c, style);
}

void WriteCalcCsv(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c) {
  const Json estimate = EstimateJson(c);
  const Json line = c.line.figures ? LineJson(c, settings) : Json::object();
  const auto in = [](const Json& from, const char* key) { return NumberIn(from.contains(key) ? from[key] : Json()); };
  Record record = {{"type", JsonText(cable[column::kType])},
                   {"part_number", JsonText(cable[column::kPartNumber])},
                   {"length_ft", settings.lengthFt},
                   {"power_w", settings.powerW},
                   {"shack_swr", settings.shackSwr},
                   {"frequency_mhz", settings.freqMHz},
                   {"band", settings.band},
                   {"matched_loss_db_per_100ft", c.matchedPer100Ft}};
  if (settings.metric) record.push_back({"matched_loss_db_per_100m", c.matchedPer100Ft / kMetresPerFoot});
  record.push_back({"matched_loss_db", c.matchedLossDb});
  record.push_back({"estimate_shown", estimate["shown"].get<std::string>()});
  for (const char* key : {"real_swr", "swr_loss_db", "total_loss_db", "power_out_w", "power_lost_pct"})
    record.push_back({std::string("estimate_") + key, in(estimate, key)});
  const bool other = c.lineVerdict == LineVerdict::kOtherReference;
  record.push_back({"line_possible", other ? FieldValue(nullptr) : FieldValue(c.line.figures.has_value())});
  for (const char* key : {"antenna_swr", "swr_loss_db", "total_loss_db", "power_out_w", "power_lost_pct",
                          "shack_return_loss_db", "antenna_return_loss_db"})
    record.push_back({std::string("line_") + key, in(line, key)});
  record.push_back({"highest_shack_swr", c.line.highestShackSwr});
  AppendExactFields(record, c);
  WriteCsvHeader(out, record);
  WriteCsvLine(out, record);
}

void WriteCalcJson(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c) {
  Json j = {{"inputs", InputsJson(cable, settings)}, {"estimate", EstimateJson(c)}};
  j["extrapolated"] = Extrapolated(cable[column::kPartNumber], settings.freqMHz, settings.freqMHz);
  AddPer100m(j["estimate"], settings, Widened(c.estimate.stdMatchLoss));
  if (c.line.figures) j["line"] = LineJson(c, settings);
  else if (c.lineVerdict == LineVerdict::kOtherReference || c.lineVerdict == LineVerdict::kNotRepresentable)
    j["line"] = nullptr;
  else j["impossible"] = {{"highest_shack_swr", NumberOrNull(c.line.highestShackSwr)}};
  if (!c.line.figures) j["line_verdict"] = LineVerdictName(c.lineVerdict);
  j["exact"] = ExactJson(c);
  out << j.dump(2) << '\n';
}

}  // namespace ferrolux::cli
