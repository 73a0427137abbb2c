#include "cli/measure_output.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>

#include <nlohmann/json.hpp>

#include "catalog/cable.hpp"
#include "catalog/catalog_line.hpp"
#include "cli/cable_choice.hpp"
#include "cli/json_fields.hpp"
#include "cli/settings.hpp"
#include "cli/table.hpp"
#include "model/cable_calculation.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kPercent = 100;
const char kFitLine[] = "Fit, matched loss per 100 ft = k0 + k1 * sqrt(MHz) + k2 * MHz: ";
const char kLeftOutLine[] = " left out where the open and the short read alike";
const char kLeftOutQuickLine[] = " left out where the sweep shows no reflection";
const char kLeftOutWhy[] = ": the far end cannot be seen through the loss there";
const char kCoarseLine[] =
    "The sweep steps more than a quarter wave at %s MHz: from there the velocity factor may be off by whole "
    "half waves; sweep with finer steps";
const char kQuickLine[] =
    "From one sweep alone: the one-way loss is half the return loss, which assumes a lossless far end and a "
    "cable of the analyser's impedance";

std::string Plain(double value) { return PlainNumberText(RoundHalfEven(value, 3), 15); }

std::string ImpedanceCell(const Impedance& z) {
  return FixedText(z.real(), 2) + (z.imag() < 0 ? "-j" : "+j") + FixedText(std::fabs(z.imag()), 2);
}

bool BothSweeps(const CableReport& report) { return report.method == MeasureMethod::kOpenShort; }

std::string Heading(const CableReport& report, bool metric) {
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  const std::string metres = Plain(report.metres) + " m", feet = Plain(report.feet) + " ft";
  const std::string length = metric ? metres + " (" + feet + ")" : feet + " (" + metres + ")";
  const std::string from = BothSweeps(report) ? "the far end open and shorted" : "one sweep";
  return "Cable of " + length + " measured from " + from + ": " + std::to_string(points.size()) + " points, " +
         Plain(points.front().mhz) + " to " + Plain(points.back().mhz) + " MHz";
}

std::vector<TableRow> TextRows(const CableReport& report, bool metric) {
  std::vector<TableRow> rows;
  for (const MeasuredPoint& p : report.measurement.points) {
    TableRow row{Plain(p.mhz)};
    if (p.z0) row.push_back(ImpedanceCell(*p.z0));
    row.push_back(FixedText(metric ? p.lossDbPer100M : p.lossDbPer100Ft, 3));
    if (p.velocityFactor) row.push_back(FixedText(*p.velocityFactor, 3));
    rows.push_back(row);
  }
  return rows;
}

std::string FitText(const CableReport& report) {
  return kFitLine + std::string("k0 ") + CoefficientText(report.k.k0) + ", k1 " + CoefficientText(report.k.k1) +
         ", k2 " + CoefficientText(report.k.k2) + "; worst error " + FixedText(report.worstFitError * kPercent, 2) +
         " %";
}

Json Number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Json PointJson(const MeasuredPoint& p) {
  const Json z0 = p.z0 ? ImpedanceJson(*p.z0) : Json(nullptr);
  return {{"frequency_mhz", p.mhz},
          {"z0", z0},
          {"matched_loss_db_per_100ft", p.lossDbPer100Ft},
          {"matched_loss_db_per_100m", p.lossDbPer100M},
          {"velocity_factor", Number(p.velocityFactor)}};
}

// A curve through the measured points, straight between neighbours; nothing outside them.
double Interpolated(const std::vector<MeasuredPoint>& points, double mhz, double scale) {
  const auto above =
      std::lower_bound(points.begin(), points.end(), mhz, [](const MeasuredPoint& p, double f) { return p.mhz < f; });
  if (above == points.end() || (above == points.begin() && above->mhz > mhz))
    return std::numeric_limits<double>::quiet_NaN();
  if (above->mhz == mhz || above == points.begin()) return above->lossDbPer100Ft * scale;
  const MeasuredPoint& below = *(above - 1);
  const double share = (mhz - below.mhz) / (above->mhz - below.mhz);
  return (below.lossDbPer100Ft + share * (above->lossDbPer100Ft - below.lossDbPer100Ft)) * scale;
}

}  // namespace

void WriteMeasureText(std::ostream& out, const CableReport& report, bool metric, const OutputStyle& style) {
  const bool both = BothSweeps(report);
  const std::string loss = metric ? "dB/100 m" : "dB/100 ft";
  std::vector<TableColumn> columns{{"MHz", true, false}};
  if (both) columns.push_back({"Z0 Ohms", true, false});
  columns.push_back({loss, true, false});
  if (both) columns.push_back({"VF", true, false});
  out << Heading(report, metric) << '\n';
  WriteTableLines(out, LayOutTable(columns, TextRows(report, metric), 0, style.utf8), style.color);
  out << FitText(report) << '\n';
  const CableMeasurement& m = report.measurement;
  if (!m.leftOut.empty())
    out << m.leftOut.size() << (m.leftOut.size() == 1 ? " point" : " points")
        << (both ? kLeftOutLine : kLeftOutQuickLine) << kLeftOutWhy << '\n';
  if (m.tooCoarseAtMhz) {
    char line[sizeof kCoarseLine + 32];
    std::snprintf(line, sizeof line, kCoarseLine, Plain(*m.tooCoarseAtMhz).c_str());
    out << line << '\n';
  }
  if (!both) out << kQuickLine << '\n';
}

void WriteMeasureCsv(std::ostream& out, const CableReport& report) {
  out << "frequency_mhz,z0_re,z0_im,matched_loss_db_per_100ft,matched_loss_db_per_100m,velocity_factor\n";
  for (const MeasuredPoint& p : report.measurement.points) {
    out << MachineNumber(p.mhz) << ',' << (p.z0 ? MachineNumber(p.z0->real()) : "") << ','
        << (p.z0 ? MachineNumber(p.z0->imag()) : "") << ',' << MachineNumber(p.lossDbPer100Ft) << ','
        << MachineNumber(p.lossDbPer100M) << ',' << (p.velocityFactor ? MachineNumber(*p.velocityFactor) : "") << '\n';
  }
}

void WriteMeasureJson(std::ostream& out, const CableReport& report) {
  Json points = Json::array();
  for (const MeasuredPoint& p : report.measurement.points) points.push_back(PointJson(p));
  const Json fit = {{"k0", report.k.k0},
                    {"k1", report.k.k1},
                    {"k2", report.k.k2},
                    {"worst_error_pct", report.worstFitError * kPercent}};
  const Json j = {{"method", BothSweeps(report) ? "open_short" : "return_loss"},
                  {"points", points},
                  {"fit", fit},
                  {"left_out", report.measurement.leftOut.size()},
                  {"too_coarse_from_mhz", Number(report.measurement.tooCoarseAtMhz)}};
  out << j.dump(2) << '\n';
}

ChartSettings MeasureChart(const CableReport& report, const CatalogRow* cable, bool metric, const OutputStyle& style) {
  ChartSettings chart = ChartForOutput(style);
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  chart.fromMHz = points.front().mhz;
  chart.toMHz = points.back().mhz;
  chart.lossUnit = metric ? "dB/100 m" : "dB/100 ft";
  const double scale = metric ? 1 / kMetresPerFoot : 1;
  const fit::Coefficients k = report.k;
  chart.series.push_back({"Measured", [points, scale](double mhz) { return Interpolated(points, mhz, scale); }});
  chart.series.push_back({"Fit", [k, scale](double mhz) { return fit::LossAt(k, mhz) * scale; }});
  if (cable) {
    const CableNumbers numbers = ReadCatalogCable(*cable).numbers;
    chart.series.push_back({"Catalog: " + DisplayText(CableName(*cable), style.utf8),
                            [=](double mhz) { return MatchedLossPer100Ft(numbers, mhz) * scale; }});
  }
  return chart;
}

}  // namespace ferrolux::cli
