#include "cli/deembed.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/exact_report.hpp"
#include "cli/json_fields.hpp"
#include "cli/settings.hpp"
#include "cli/table.hpp"
#include "model/exact_figures.hpp"
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

TableRow TextRow(const DeembedPoint& p) {
  const std::string shackSwr = std::isinf(p.shackSwr) ? "infinite" : FixedText(p.shackSwr, 2);
  TableRow row = {Mhz(p.freqMHz), ImpedanceText(p.shackZ), shackSwr, ImpedanceText(p.antennaZ)};
  if (!p.passive) {
    row.insert(row.end(), {kMissing, kMissing, kMissing, kNotPassive});
    return row;
  }
  row.insert(row.end(), {FixedText(p.antennaSwr, 2), FixedText(p.matchedLossDb, 2), FixedText(p.totalLossDb, 2), ""});
  return row;
}

// The SWR at `mhz`, straight between the neighbouring points; none outside the sweep or next to
// a point that is not passive.
double SwrAt(const std::vector<DeembedPoint>& points, double mhz, bool antenna) {
  const auto above = std::lower_bound(points.begin(), points.end(), mhz,
                                      [](const DeembedPoint& p, double f) { return p.freqMHz < f; });
  if (above == points.end()) return NAN;
  const auto swr = [&](const DeembedPoint& p) { return antenna ? (p.passive ? p.antennaSwr : NAN) : p.shackSwr; };
  if (above == points.begin()) return above->freqMHz == mhz ? swr(*above) : NAN;
  const DeembedPoint& below = *(above - 1);
  const double share = (mhz - below.freqMHz) / (above->freqMHz - below.freqMHz);
  return swr(below) + share * (swr(*above) - swr(below));
}

// One point a row: a long sweep is written as it goes, never held as one document.
Json PointJson(const DeembedPoint& p) {
  Json j = {{"frequency_mhz", p.freqMHz},
            {"shack_z", ImpedanceJson(p.shackZ)},
            {"shack_swr", NumberOrNull(p.shackSwr)},
            {"passive", p.passive},
            {"antenna_z", ImpedanceJson(p.antennaZ)}};
  if (p.passive) {
    j["antenna_swr"] = NumberOrNull(p.antennaSwr);
    j["matched_loss_db"] = p.matchedLossDb;
    j["total_loss_db"] = NumberOrNull(p.totalLossDb);
  }
  return j;
}

}  // namespace

std::vector<DeembedPoint> Deembed(const Sweep& sweep, const DeembedLine& line) {
  std::vector<DeembedPoint> points;
  points.reserve(sweep.points.size());
  const double lengthM = line.lengthFt * kMetresPerFoot;
  for (const SweepPoint& s : sweep.points) {
    DeembedPoint p;
    p.freqMHz = s.freqHz / 1e6;
    const Line model = MakeLine(line.cable.numbers, line.velocityFactor, p.freqMHz, lengthM);
    const LineTransfer transfer(model);
    p.shackZ = s.z;
    // An exact open (a calibration standard, a simulated file) has the limit of the transform.
    p.antennaZ = std::isinf(s.z.real()) ? AntennaBehindAnOpen(model) : transfer.AntennaZ(s.z);
    p.passive = IsPassive(p.antennaZ);
    p.shackSwr = Swr(p.shackZ, line.refOhms);
    p.antennaSwr = Swr(p.antennaZ, line.refOhms);
    p.matchedLossDb = MatchedLossDb(model);
    p.totalLossDb = transfer.TotalLossDb(p.antennaZ);
    points.push_back(p);
  }
  return points;
}

void WriteDeembedText(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const std::vector<DeembedPoint>& points, const OutputStyle& style) {
  out << DisplayText(file + " seen at the antenna through " + PlainNumberText(line.lengthFt, 7) + " ft of " +
                         CableName(line.cable.texts) + " (VF " + PlainNumberText(line.velocityFactor, 7) + ")",
                     style.utf8)
      << '\n'
      << "SWR against " << PlainNumberText(line.refOhms, 7) << " Ohms; impedances in Ohms; losses in dB\n";
  const std::vector<TableColumn> columns = {
      {"MHz", true, false}, {"Shack Z", true, false}, {"SWR", true, false},   {"Antenna Z", true, false},
      {"SWR", true, false}, {"Matched", true, false}, {"Total", true, false}, {"", false, false}};
  WriteTableRowByRow(
      out, columns, points.size(), [&points](size_t i) { return TextRow(points[i]); }, style.utf8, style.color);
}

void WriteDeembedCsv(std::ostream& out, const std::vector<DeembedPoint>& points) {
  out << "frequency_mhz,shack_z_re,shack_z_im,shack_swr,passive,antenna_z_re,antenna_z_im,antenna_swr,"
         "matched_loss_db,total_loss_db\n";
  const auto number = [](double v) { return std::isfinite(v) ? MachineNumber(v) : std::string(); };
  for (const DeembedPoint& p : points) {
    out << MachineNumber(p.freqMHz) << ',' << number(p.shackZ.real()) << ',' << number(p.shackZ.imag()) << ','
        << number(p.shackSwr) << ',' << (p.passive ? "yes" : "no") << ',' << number(p.antennaZ.real()) << ','
        << number(p.antennaZ.imag()) << ',' << (p.passive ? number(p.antennaSwr) : "") << ',' << number(p.matchedLossDb)
        << ',' << (p.passive ? number(p.totalLossDb) : "") << '\n';
  }
}

void WriteDeembedJson(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const std::vector<DeembedPoint>& points) {
  const Json inputs = {{"file", JsonText(file)},
                       {"type", JsonText(line.cable.texts[column::kType])},
                       {"part_number", JsonText(line.cable.texts[column::kPartNumber])},
                       {"length_ft", line.lengthFt},
                       {"velocity_factor", line.velocityFactor},
                       {"reference_ohms", line.refOhms}};
  out << "{\n  \"inputs\": " << IndentedJson(inputs, 1) << ",\n  \"points\": ";
  JsonArrayWriter list(out, 1);
  for (const DeembedPoint& p : points) list.Add(PointJson(p));
  list.Close();
  out << "\n}\n";
}

std::string AntennaSweepText(const DeembedLine& line, const std::vector<DeembedPoint>& points) {
  std::vector<SweepPoint> antenna;
  antenna.reserve(points.size());
  for (const DeembedPoint& p : points) antenna.push_back({p.freqMHz * 1e6, p.antennaZ});
  return WriteTouchstone(antenna, line.refOhms,
                         "Antenna end, de-embedded by ferrolux through " + PlainNumberText(line.lengthFt, 7) +
                             " ft of " + DisplayText(CableName(line.cable.texts)));
}

chart::ChartSettings DeembedChart(const std::vector<DeembedPoint>& points, const OutputStyle& style) {
  chart::ChartSettings chart = ChartForOutput(style);
  chart.fromMHz = points.front().freqMHz;
  chart.toMHz = points.back().freqMHz;
  if (!(chart.toMHz > chart.fromMHz)) chart.fromMHz /= 1.1, chart.toMHz *= 1.1;  // a single point
  chart.unit = "SWR";
  chart.series.push_back({"SWR at the shack", [&points](double mhz) { return SwrAt(points, mhz, false); }});
  chart.series.push_back({"SWR at the antenna", [&points](double mhz) { return SwrAt(points, mhz, true); }});
  return chart;
}

}  // namespace ferrolux::cli
