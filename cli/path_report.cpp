#include "cli/path_report.hpp"

#include <algorithm>
#include <cmath>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/exact_report.hpp"
#include "cli/path_element_fields.hpp"
#include "report/json_fields.hpp"
#include "report/line_limits.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "text/cells.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kDigits = 7, kRoundedDigits = 15;
const std::string kMissing = "-";
const std::string kLineNote =
    "Line equations: they handle only a one-cable path; the figures here are the exact model's, element by element.";
const std::string kNoPower =
    "No power figures: no power flows into this path (a lossless path into a reactive load), or the load gives "
    "power back.";
const std::string kAlongForTheLoad = "\nAlong each cable, at the power fed in (the standing wave's highest, RMS):\n";
const std::string kAlongAtWorst =
    "\nAlong each cable, at the power fed in, at worst over every load phase (the standing wave's highest, RMS):\n";
const std::string kAllLost = "all of it: the load at the antenna takes no power (an open, or no resistance)";

std::string Rounded(double value, int places) { return PlainNumberText(RoundHalfEven(value, places), kRoundedDigits); }

std::string LossCell(double db) { return std::isinf(db) ? "all" : Rounded(db, 2); }

// A resistance below 0 reflects more than it receives: no SWR describes it.
std::string SwrCell(const Joint& joint) {
  if (joint.z.real() < 0) return kMissing;
  return std::isinf(joint.swr) ? "infinite" : Rounded(joint.swr, 2) + ":1";
}

std::string Heading(const Settings& s, const PathCalculation& c) {
  const size_t count = c.entries.size();
  std::string text = "Path of " + std::to_string(count) + (count == 1 ? " element" : " elements") + " at " +
                     PlainNumberText(s.freqMHz, kDigits) + " MHz";
  if (!s.band.empty()) text += " (" + s.band + " band)";
  return text + ", " + PlainNumberText(s.powerW, kDigits) + " watts, against " + PlainNumberText(c.refOhms, kDigits) +
         " Ohms:";
}

TableRow ElementRow(const PathCalculation& c, size_t i, bool utf8) {
  TableRow row = {DisplayText(ElementName(c.entries[i]), utf8), ElementKindName(c.entries[i].element.kind)};
  if (!c.figures) return {row[0], row[1], Rounded(c.matchedLossDb[i], 2)};
  const Joint& joint = c.figures->joints[i];
  const bool power = HasPowerFigures(c);
  const ElementFigures& e = c.figures->elements[i];
  row.push_back(power ? LossCell(e.lossDb) : kMissing);
  row.push_back(power && std::isfinite(e.lossW) ? Rounded(e.lossW, 2) : kMissing);
  row.push_back(power ? Rounded(joint.powerW, 2) : kMissing);
  row.push_back(ImpedanceText(joint.z));
  row.push_back(SwrCell(joint));
  return row;
}

void WriteElementTable(std::ostream& out, const PathCalculation& c, const OutputStyle& style) {
  std::vector<TableColumn> columns = {{"Element", false, true}, {"Kind"}};
  if (c.figures) {
    for (const char* heading : {"Loss dB", "Loss W", "Power in W", "Z in, Ohms", "SWR in"})
      columns.push_back({heading, true});
  } else {
    columns.push_back({"Matched loss dB", true});
  }
  std::vector<TableRow> rows;
  for (size_t i = 0; i < c.entries.size(); ++i) rows.push_back(ElementRow(c, i, style.utf8));
  if (c.figures) {
    const Joint& antenna = c.figures->joints.back();
    const bool power = HasPowerFigures(c);
    rows.push_back({"Antenna", "", "", "", power ? Rounded(antenna.powerW, 2) : kMissing, ImpedanceText(antenna.z),
                    SwrCell(antenna)});
  }
  WriteTable(out, columns, std::move(rows), {style.columns, style.utf8, style.color});
}

void WriteTotals(std::ostream& out, const PathFigures& f) {
  if (!f.powerFigures) {
    out << kNoPower << '\n';
    return;
  }
  if (std::isinf(f.totalLossDb)) {
    out << "      Total Loss: " << kAllLost << '\n';
    return;
  }
  out << "      Total Loss: " << Rounded(f.totalLossDb, 2) << " dB\n"
      << "       Power Out: " << Rounded(f.powerOutW, 2) << " watts\n";
}

std::string RatingWarning(const PathCalculation& c, size_t i, bool utf8) {
  const PathElementEntry& entry = c.entries[i];
  const std::optional<VoltageRating> rating = RatingOf(entry);
  const double volts = CablePeaks(c, i).volts;
  if (!rating || !std::isfinite(volts) || !ExceedsRating(*rating, volts)) return "";
  const std::string peak = rating->rms ? "" : " (" + Rounded(volts * std::sqrt(2.0), 0) + " V peak)";
  return "Warning: up to " + Rounded(volts, 0) + " V RMS" + peak + " along " + DisplayText(ElementName(entry), utf8) +
         ", above its rating of " + DisplayText(RatingText(entry), utf8) + ", " + RatingRule(*rating) + ".";
}

TableRow CableRow(const PathCalculation& c, size_t i, bool utf8) {
  const WavePeaks peaks = CablePeaks(c, i);
  const auto cell = [](double value, int places) { return std::isfinite(value) ? Rounded(value, places) : kMissing; };
  return {DisplayText(ElementName(c.entries[i]), utf8), cell(peaks.volts, 1), cell(peaks.amps, 3),
          DisplayText(RatingText(c.entries[i]), utf8)};
}

void WriteCableTable(std::ostream& out, const PathCalculation& c, const OutputStyle& style) {
  std::vector<TableRow> rows;
  std::vector<std::string> warnings;
  for (size_t i = 0; i < c.entries.size(); ++i) {
    if (c.entries[i].element.kind != ElementKind::kCable) continue;
    rows.push_back(CableRow(c, i, style.utf8));
    if (std::string warning = RatingWarning(c, i, style.utf8); !warning.empty()) warnings.push_back(warning);
  }
  if (rows.empty()) return;
  out << (c.worstPeaks.empty() ? kAlongForTheLoad : kAlongAtWorst);
  WriteTable(out, {{"Cable", false, true}, {"Volts", true}, {"Amps", true}, {"Rating"}}, std::move(rows),
             {style.columns, style.utf8, style.color});
  for (const std::string& warning : warnings) out << Painted(warning, "33", style.color) << '\n';
}

// A cable's "extrapolated" says whether its figures rest on a fit beyond its published points.
Json ElementJson(const PathCalculation& c, size_t i, double freqMHz) {
  Json element = JsonOf(ElementRecord(c, i));
  const CatalogRow* row = c.entries[i].row;
  element["extrapolated"] = row ? Json(Extrapolated((*row)[column::kPartNumber], freqMHz, freqMHz)) : Json(nullptr);
  return element;
}

}  // namespace

void WritePathText(std::ostream& out, const Settings& settings, const PathCalculation& c, const OutputStyle& style) {
  out << Painted(Heading(settings, c), "1", style.color) << '\n';
  WriteElementTable(out, c, style);
  out << '\n';
  if (c.range) WriteRangeText(out, *c.range, settings.shackSwr, c.refOhms);
  else if (!c.passiveLoad) out << kNoPassiveLoad << '\n';
  else WriteTotals(out, *c.figures);
  if (HasCablePeaks(c)) WriteCableTable(out, c, style);
  out << '\n' << kLineNote << '\n';
}

void WritePathCsv(std::ostream& out, const Settings& settings, const PathCalculation& c) {
  const auto record = [&](size_t i) {
    Record r = ElementRecord(c, i);
    r.push_back({"frequency_mhz", settings.freqMHz});
    r.push_back({"power_w", settings.powerW});
    r.push_back({"reference_ohms", c.refOhms});
    return r;
  };
  WriteCsv(out, record(0), c.entries.size(), record);
}

void WritePathJson(std::ostream& out, const std::string& text, const Settings& settings, const PathCalculation& c) {
  Json inputs = {{"path", JsonText(text)}, {"power_w", settings.powerW}};
  if (c.range) inputs["shack_swr"] = settings.shackSwr;
  inputs.update(Json{{"frequency_mhz", settings.freqMHz},
                     {"band", settings.band.empty() ? Json(nullptr) : Json(settings.band)},
                     {"reference_ohms", c.refOhms}});
  Json path = Json::array();
  for (size_t i = 0; i < c.entries.size(); ++i) path.push_back(ElementJson(c, i, settings.freqMHz));
  const bool extrapolated = std::ranges::any_of(path, [](const Json& e) { return e["extrapolated"] == true; });
  Json j = {{"inputs", inputs}, {"path", path}, {"extrapolated", extrapolated}};
  if (c.range) j["range"] = RangeJson(*c.range);
  j["highest_at_worst_load_phase"] = !c.worstPeaks.empty();
  if (c.figures) {
    const Joint& antenna = c.figures->joints.back();
    const bool open = !std::isfinite(antenna.z.real()) || !std::isfinite(antenna.z.imag());
    j["antenna"] = {{"z", open ? Json(nullptr) : ImpedanceJson(antenna.z)},
                    {"swr", c.passiveLoad ? NumberOrNull(antenna.swr) : Json(nullptr)},
                    {"passive", c.passiveLoad}};
    j["power_figures"] = c.figures->powerFigures;
    if (c.figures->powerFigures) {
      j["total_loss_db"] = NumberOrNull(c.figures->totalLossDb);
      j["all_lost"] = std::isinf(c.figures->totalLossDb);
      j["power_out_w"] = NumberOrNull(c.figures->powerOutW);
    }
  }
  j["line"] = nullptr;
  j["line_verdict"] = "one_cable_only";
  out << j.dump(2) << '\n';
}

}  // namespace ferrolux::cli
