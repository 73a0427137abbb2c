#include "cli/calc_report.hpp"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cable_choice.hpp"
#include "cli/exact_report.hpp"
#include "cli/json_fields.hpp"
#include "model/estimate_limits.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kFloatDigits = 7, kRoundedDigits = 15;
constexpr int kColumnGap = 4;
const std::string kMissing = "-";
const std::string kAssumption =
    "Line equations: a real characteristic impedance is assumed; good for ordinary coax above a few MHz, "
    "approximate at HF on thin, lossy cable.";

// The results screen's figures and its way of writing them.
std::string Rounded(double value, int places) { return PlainNumberText(RoundHalfEven(value, places), kRoundedDigits); }
std::string Unrounded(double value) { return PlainNumberText(value, kFloatDigits); }

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

// The rows both columns share: the cable's matched loss and the settings.
std::vector<FigureRow> SharedRows(const Settings& s, const Calculation& c) {
  const Units u = UnitsOf(s);
  const std::string at = " dB @" + PrintedNumberText(s.shownLength, kFloatDigits) + u.length;
  const auto& e = c.estimate;
  return {
      {"       Frequency: ", Unrounded(static_cast<float>(s.freqMHz)) + " MHz", Unrounded(s.freqMHz) + " MHz"},
      {" STD. Match Loss: ", Rounded(e.stdMatchLoss * u.per100Scale, 3) + u.per100,
       Rounded(c.matchedPer100Ft * u.per100Scale, 3) + u.per100},
      {"      Match Loss: ", Rounded(e.matchLoss, 3) + at, Rounded(c.matchedLossDb, 3) + at},
  };
}

// A typed SWR as the results screen shows it; one worked out from an impedance like every other.
std::string ShackSwrText(const Settings& s, const Calculation& c) {
  const bool computed = c.exact && c.exact->point;
  if (std::isinf(s.shackSwr)) return "infinite";
  return computed ? Rounded(s.shackSwr, 2) : Unrounded(static_cast<float>(s.shackSwr));
}

std::string ShackRatioText(const Settings& s, const Calculation& c) {
  return std::isinf(s.shackSwr) ? "infinite" : ShackSwrText(s, c) + ":1";
}

std::string ReturnLossText(double db) { return std::isinf(db) ? "infinite" : Rounded(db, 2) + " dB"; }

std::vector<FigureRow> FigureRows(const Settings& s, const Calculation& c) {
  std::vector<FigureRow> rows = SharedRows(s, c);
  const auto& e = c.estimate;
  const bool estimated = c.shown == EstimateShown::kFigures;
  const LineFigures* l = c.line.figures ? &*c.line.figures : nullptr;
  auto estimate = [&](const std::string& text) { return estimated ? text : kMissing; };
  auto line = [&](auto text) { return l ? text(*l) : kMissing; };
  rows.push_back({" Loss due to SWR: ", estimate(Rounded(e.swrLoss, 2) + " dB"),
                  line([](const LineFigures& f) { return Rounded(f.swrLossDb, 2) + " dB"; })});
  rows.push_back({"      Total Loss: ", estimate(Rounded(e.totalLoss, 2) + " dB"),
                  line([](const LineFigures& f) { return Rounded(f.totalLossDb, 2) + " dB"; })});
  const std::string powerIn = Rounded(static_cast<float>(s.powerW), 2) + " watts";
  rows.push_back({"        Power In: ", powerIn, Rounded(s.powerW, 2) + " watts"});
  rows.push_back({"       Power Out: ", estimate(Rounded(e.powerOut, 2) + " watts"),
                  line([](const LineFigures& f) { return Rounded(f.powerOutW, 2) + " watts"; })});
  rows.push_back({"      Power Loss: ", estimate(Rounded(e.powerLossPct, 2) + "%"),
                  line([](const LineFigures& f) { return Rounded(f.powerLostPct, 2) + "%"; })});
  const std::string apparent = ShackRatioText(s, c);
  rows.push_back({"    Apparent swr: ", apparent, apparent});
  rows.push_back({"        Real SWR: ", estimate(Rounded(e.realSwr, 2) + ":1 +-"),
                  line([](const LineFigures& f) { return Rounded(f.antennaSwr, 2) + ":1"; })});
  rows.push_back(
      {" Ret. Loss Shack: ", "", line([](const LineFigures& f) { return ReturnLossText(f.shackReturnLossDb); })});
  rows.push_back(
      {"  Ret. Loss Ant.: ", "", line([](const LineFigures& f) { return ReturnLossText(f.antennaReturnLossDb); })});
  return rows;
}

// The lines the results screen shows instead of its figures.
std::vector<std::string> EstimateNote(const Settings& s, const Calculation& c) {
  if (c.shown == EstimateShown::kHighSwrWarning) return HighSwrWarningLines(Rounded(c.estimate.realSwr, 0));
  if (c.shown == EstimateShown::kAboveSixNotice) return NoEstimateNoticeLines(ShackSwrText(s, c));
  return {};
}

std::vector<std::string> ImpossibleNote(const Settings& s, const Calculation& c) {
  const std::string matched = Rounded(c.matchedLossDb, 2) + " dB of matched loss";
  switch (c.lineVerdict) {
    case LineVerdict::kFigures: return {};
    case LineVerdict::kOtherReference:
      return {"Line equations: they hold only for a meter whose reference is the cable's impedance; against " +
              Unrounded(c.exact ? c.exact->refOhms : 0) + " Ohms they do not apply (see the exact line)."};
    case LineVerdict::kBeyondAnyReading:
      return {"Line equations: with " + matched + ", " + std::string(kBeyondAnyReading) + "."};
    case LineVerdict::kNotRepresentable:
      return {
          "Line equations: their real-Z0 model of this line cannot represent " + ShackRatioText(s, c) + " in the shack",
          "(with " + matched + " it shows at most " + Rounded(c.line.highestShackSwr, 2) + ":1); " +
              (c.exact->point ? "the exact line below works from the impedance itself."
                              : "the exact line below finds the passive loads that give it.")};
    case LineVerdict::kNoPassiveLoad: break;
  }
  return {"Line equations: no load at the antenna can make this line show " + ShackRatioText(s, c) + " in the shack.",
          "With " + matched + " it shows at most " + Rounded(c.line.highestShackSwr, 2) +
              ":1, even with the far end open or shorted.",
          "Check the SWR meter and how it is connected, the cable (its length, type and condition)",
          "and the cable's catalog data."};
}

void WriteNote(std::ostream& out, const std::vector<std::string>& lines, const OutputStyle& style) {
  if (lines.empty()) return;
  out << '\n';
  for (const std::string& line : lines) out << Painted(line, "33", style.color) << '\n';
}

std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
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

}  // namespace

bool LossBeyondAnyReading(const Calculation& c) { return LossBeyondAnyFigure(c.matchedLossDb); }

void WriteCalcText(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c,
                   const OutputStyle& style) {
  out << DisplayText("      Cable Type: " + CableName(cable), style.utf8) << '\n';
  const std::string& impedance = cable[column::kImpedance];
  const std::string& vf = cable[column::kVelocityFactor];
  out << DisplayText("       Impedance: " + impedance + " Ohms     VF: " + vf, style.utf8) << "\n\n";
  const std::vector<FigureRow> rows = FigureRows(settings, c);
  size_t width = 0;
  for (const FigureRow& row : rows) width = std::max(width, row.label.size() + row.estimate.size() + kColumnGap);
  const std::string labelBlanks(rows.front().label.size(), ' ');
  out << Painted(Padded(labelBlanks + "Estimate", width) + "Line equations", "1", style.color) << '\n';
  for (const FigureRow& row : rows) {
    const std::string left = row.label + row.estimate;
    out << (row.line.empty() ? left : Padded(left, width) + row.line) << '\n';
  }
  WriteNote(out, EstimateNote(settings, c), style);
  WriteNote(out, ImpossibleNote(settings, c), style);
  out << '\n' << kAssumption << '\n';
  WriteExactText(out, settings, c, style);
}

void WriteCalcCsv(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c) {
  const Json estimate = EstimateJson(c);
  const Json line = c.line.figures ? LineJson(c, settings) : Json::object();
  std::vector<std::pair<std::string, std::string>> cells = {
      {"type", JsonText(cable[column::kType])},
      {"part_number", JsonText(cable[column::kPartNumber])},
      {"length_ft", MachineNumber(settings.lengthFt)},
      {"power_w", MachineNumber(settings.powerW)},
      {"shack_swr", MachineNumber(settings.shackSwr)},
      {"frequency_mhz", MachineNumber(settings.freqMHz)},
      {"band", settings.band},
      {"matched_loss_db_per_100ft", MachineNumber(c.matchedPer100Ft)},
  };
  if (settings.metric)
    cells.emplace_back("matched_loss_db_per_100m", MachineNumber(c.matchedPer100Ft / kMetresPerFoot));
  cells.insert(cells.end(), {
                                {"matched_loss_db", MachineNumber(c.matchedLossDb)},
                                {"estimate_shown", estimate["shown"].get<std::string>()},
                            });
  auto add = [&](const std::string& prefix, const Json& from, const char* key) {
    const bool present = from.contains(key) && from[key].is_number();
    cells.emplace_back(prefix + key, present ? MachineNumber(from[key].get<double>()) : "");
  };
  for (const char* key : {"real_swr", "swr_loss_db", "total_loss_db", "power_out_w", "power_lost_pct"})
    add("estimate_", estimate, key);
  cells.emplace_back("line_possible", c.lineVerdict == LineVerdict::kOtherReference ? ""
                                      : c.line.figures                              ? "yes"
                                                                                    : "no");
  for (const char* key : {"antenna_swr", "swr_loss_db", "total_loss_db", "power_out_w", "power_lost_pct",
                          "shack_return_loss_db", "antenna_return_loss_db"})
    add("line_", line, key);
  cells.emplace_back("highest_shack_swr", MachineNumber(c.line.highestShackSwr));
  AppendExactCells(cells, c);
  for (size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << cells[i].first;
  out << '\n';
  for (size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << CsvField(cells[i].second);
  out << '\n';
}

void WriteCalcJson(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c) {
  Json j = {{"inputs", InputsJson(cable, settings)}, {"estimate", EstimateJson(c)}};
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
