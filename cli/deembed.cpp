#include "cli/deembed.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/exact_report.hpp"
#include "cli/path_element_fields.hpp"
#include "cli/settings.hpp"
#include "report/json_fields.hpp"
#include "report/line_limits.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

const std::string kNotPassive = "not passive: check the length, the cable and the calibration";
const std::string kMissing = "-";

std::string Mhz(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.9g", value);
  return buffer;
}

TableRow TextRow(const LinePoint& p) {
  const std::string shackSwr = std::isinf(p.shackSwr) ? "infinite" : FixedText(p.shackSwr, 2);
  TableRow row = {Mhz(p.freqMHz), ImpedanceText(p.shackZ), shackSwr, ImpedanceText(p.antennaZ)};
  if (!p.passive) {
    row.insert(row.end(), {kMissing, kMissing, kMissing, kNotPassive});
    return row;
  }
  row.insert(row.end(), {FixedText(p.antennaSwr, 2), FixedText(p.matchedLossDb, 2), FixedText(p.totalLossDb, 2), ""});
  return row;
}

// What lies between the two ends: "100 ft of RG-8/U (Belden 9913)" or "the path RG-8X 6 ft, UHF".
std::string ThroughText(const DeembedLine& line, bool utf8) {
  if (!line.path.empty()) return "the path " + DisplayText(PathTitle(line.path), utf8);
  // Hundredths of a foot: a length typed in metres would otherwise show 32.8084 ft.
  const double feet = std::round(line.lengthFt * 100) / 100;
  return PlainNumberText(feet, 12) + " ft of " + DisplayText(CableName(line.cable.texts), utf8);
}

std::vector<const CatalogRow*> CableRows(const DeembedLine& line) {
  std::vector<const CatalogRow*> rows;
  for (const PathElementEntry& entry : line.path)
    if (entry.row) rows.push_back(entry.row);
  return rows;
}

bool AnyExtrapolated(const DeembedLine& line, double lowestMHz, double highestMHz) {
  if (line.path.empty()) return Extrapolated(line.cable.texts[column::kPartNumber], lowestMHz, highestMHz);
  return std::ranges::any_of(CableRows(line), [&](const CatalogRow* row) {
    return Extrapolated((*row)[column::kPartNumber], lowestMHz, highestMHz);
  });
}

Json InputsJson(const std::string& file, const DeembedLine& line) {
  if (!line.path.empty())
    return {{"file", JsonText(file)}, {"path", JsonText(line.pathText)}, {"reference_ohms", line.refOhms}};
  return {{"file", JsonText(file)},
          {"type", JsonText(line.cable.texts[column::kType])},
          {"part_number", JsonText(line.cable.texts[column::kPartNumber])},
          {"length_ft", line.lengthFt},
          {"velocity_factor", line.velocityFactor},
          {"reference_ohms", line.refOhms}};
}

// Where the antenna end is not passive its figures are empty; JSON leaves them out.
constexpr std::size_t kPassiveOnlyFields = 3;

Record PointRecord(const LinePoint& p) {
  return {{"frequency_mhz", p.freqMHz},
          {"shack_z", ImpedanceValue(p.shackZ)},
          {"shack_swr", p.shackSwr},
          {"passive", p.passive},
          {"antenna_z", ImpedanceValue(p.antennaZ)},
          {"antenna_swr", NumberOr(p.passive, p.antennaSwr)},
          {"matched_loss_db", p.matchedLossDb},
          {"total_loss_db", NumberOr(p.passive, p.totalLossDb)}};
}

// One point a row: a long sweep is written as it goes, never held as one document.
Json PointJson(const LinePoint& p) {
  Record record = PointRecord(p);
  if (!p.passive) record.resize(record.size() - kPassiveOnlyFields);
  return JsonOf(record);
}

}  // namespace

DeembeddedSweep::DeembeddedSweep(Sweep shack, const DeembedLine& line)
    : shack_(std::move(shack)),
      line_{line.cable.numbers, line.velocityFactor, line.lengthFt * kMetresPerFoot, line.refOhms} {
  for (const PathElementEntry& entry : line.path) path_.push_back(entry.element);
}

LinePoint DeembeddedSweep::operator[](std::size_t index) const {
  const SweepPoint& s = shack_.points[index];
  if (!path_.empty()) return DeembedThroughPathAt(path_, line_.refOhms, s.freqHz / 1e6, s.z);
  return DeembedAt(line_, s.freqHz / 1e6, s.z);
}

std::size_t DeembeddedSweep::FirstFrom(double mhz) const {
  const auto above = std::lower_bound(shack_.points.begin(), shack_.points.end(), mhz,
                                      [](const SweepPoint& p, double f) { return p.freqHz / 1e6 < f; });
  return static_cast<std::size_t>(above - shack_.points.begin());
}

std::vector<std::string> DeembedNotes(const DeembedLine& line, const DeembeddedSweep& points) {
  const std::vector<const CatalogRow*> rows = line.path.empty() ? std::vector{&line.cable.texts} : CableRows(line);
  return LineLimitLines(rows, points[0].freqMHz, points[points.Size() - 1].freqMHz);
}

void WriteDeembedText(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const DeembeddedSweep& points, const OutputStyle& style) {
  const std::string vf = line.path.empty() ? " (VF " + PlainNumberText(line.velocityFactor, 7) + ")" : "";
  out << DisplayText(file, style.utf8) << " seen at the antenna through " << ThroughText(line, style.utf8) << vf << '\n'
      << "SWR against " << PlainNumberText(line.refOhms, 7) << " Ohms; impedances in Ohms; losses in dB\n";
  const std::vector<TableColumn> columns = {
      {"MHz", true, false}, {"Shack Z", true, false}, {"SWR", true, false},   {"Antenna Z", true, false},
      {"SWR", true, false}, {"Matched", true, false}, {"Total", true, false}, {"", false, false}};
  WriteTableRowByRow(
      out, columns, points.Size(), [&points](size_t i) { return TextRow(points[i]); }, style.utf8, style.color);
  WriteLineLimits(out, DeembedNotes(line, points), style);
}

void WriteDeembedCsv(std::ostream& out, const DeembeddedSweep& points) {
  WriteCsv(out, PointRecord(LinePoint{}), points.Size(), [&points](std::size_t i) { return PointRecord(points[i]); });
}

void WriteDeembedJson(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const DeembeddedSweep& points) {
  const bool extrapolated = AnyExtrapolated(line, points[0].freqMHz, points[points.Size() - 1].freqMHz);
  WriteJsonWithList(out, {{"inputs", InputsJson(file, line)}, {"extrapolated", extrapolated}}, "points", points.Size(),
                    [&points](std::size_t i) { return PointJson(points[i]); });
}

void WriteAntennaSweep(std::ostream& out, const DeembedLine& line, const DeembeddedSweep& points) {
  WriteTouchstone(
      out, points.Size(),
      [&points](std::size_t i) {
        const LinePoint p = points[i];
        return SweepPoint{p.freqMHz * 1e6, p.antennaZ};
      },
      line.refOhms, "Antenna end, de-embedded by ferrolux through " + ThroughText(line, true));
}

chart::SweepViewInput DeembedViewInput(const DeembeddedSweep& points, const DeembedLine& line, bool utf8) {
  chart::SweepViewInput input;
  input.points.reserve(points.Size());
  for (std::size_t i = 0; i < points.Size(); ++i) {
    const LinePoint point = points[i];
    input.points.push_back({point.freqMHz, point.antennaZ, point.shackZ});
  }
  input.refOhms = line.refOhms;
  input.through = ThroughText(line, utf8);
  return input;
}

}  // namespace ferrolux::cli
