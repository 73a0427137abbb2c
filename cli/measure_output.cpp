#include "cli/measure_output.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>

#include <nlohmann/json.hpp>

#include "catalog/cable.hpp"
#include "catalog/catalog_line.hpp"
#include "chart/chart_scale.hpp"
#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"
#include "report/json_fields.hpp"
#include "report/line_limits.hpp"
#include "report/records.hpp"
#include "report/table.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kPercent = 100;
const char kFitLine[] = "Fit, matched loss per 100 ft = k0 + k1 * sqrt(MHz) + k2 * MHz: ";
const char kLeftOutLine[] = " left out where the open and the short read alike";
const char kLeftOutQuickLine[] = " left out where the sweep shows no reflection";
const char kLeftOutWhy[] = ": the far end cannot be seen through the loss there";
const char kActiveLine[] =
    " left out where the sweep reads |S11| above 1, which only an active termination gives: check the calibration";
const char kUnresolvedLine[] =
    "The velocity factor cannot be told from this sweep (it would come out above 1): the cable is longer than half "
    "a wave at the lowest frequency and the steps do not show by how many half waves; give --vf-guess";
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

std::string Points(size_t count) { return std::to_string(count) + (count == 1 ? " point" : " points"); }

bool BothSweeps(const CableReport& report) { return report.method == MeasureMethod::kOpenShort; }

std::string Heading(const CableReport& report, bool metric) {
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  const std::string metres = Plain(report.metres) + " m", feet = Plain(report.feet) + " ft";
  const std::string length = metric ? metres + " (" + feet + ")" : feet + " (" + metres + ")";
  const std::string from = BothSweeps(report) ? "the far end open and shorted" : "one sweep";
  return "Cable of " + length + " measured from " + from + ": " + Points(points.size()) + ", " +
         Plain(points.front().mhz) + " to " + Plain(points.back().mhz) + " MHz";
}

// Rounded first, so that a small negative figure reads 0, never -0.
std::string Signed(double value, int decimals) { return FixedText(RoundHalfEven(value, decimals) + 0.0, decimals); }

// "+35", "-4": a share above or below new, in whole per cent.
std::string Percent(double share) {
  const std::string percent = Signed(share * kPercent, 0);
  return percent.front() == '-' ? percent : "+" + percent;
}

std::vector<TableColumn> TextColumns(const CableReport& report, const std::string& loss) {
  const bool both = BothSweeps(report);
  std::vector<TableColumn> columns{{"MHz", true, false}};
  if (both) columns.push_back({"Z0 Ohms", true, false});
  columns.push_back({loss, true, false});
  if (both) columns.push_back({"VF", true, false});
  if (report.againstNew)
    columns.insert(columns.end(), {{"New " + loss, true, false}, {"Worse dB", true, false}, {"Worse %", true, false}});
  return columns;
}

TableRow TextRow(const CableReport& report, const MeasuredPoint& p, bool metric) {
  const double scale = metric ? 1 / kMetresPerFoot : 1;
  TableRow row{Plain(p.mhz)};
  if (p.z0) row.push_back(ImpedanceCell(*p.z0));
  row.push_back(FixedText(metric ? p.lossDbPer100M : p.lossDbPer100Ft, 3));
  if (BothSweeps(report)) row.push_back(p.velocityFactor ? FixedText(*p.velocityFactor, 3) : "-");
  if (report.againstNew) {
    const PointAgainstNew at = ComparedWithNew(p, *report.againstNew, report.feet);
    row.insert(row.end(),
               {FixedText(at.newLossDbPer100Ft * scale, 3), Signed(at.excessDb, 2), Percent(at.excessShare)});
  }
  return row;
}

// "2.1 dB more than new at 146 MHz, +35 %".
std::string MoreOrLess(double excessDb, double share, const std::string& where) {
  const double db = RoundHalfEven(excessDb, 2);
  return FixedText(std::fabs(db), 2) + " dB " + (db < 0 ? "less" : "more") + " than new" + where + ", " +
         Percent(share) + " %";
}

// One point says how it compares there; a sweep gives the mean and where the loss is most above new.
std::string AgainstNewText(const CableReport& report, bool utf8) {
  const AgainstNew& a = *report.againstNew;
  const std::string head = DisplayText("Against a new " + a.cable, utf8) + ": ";
  const std::string at = " at " + Plain(a.largestExcessMhz) + " MHz";
  if (report.measurement.points.size() == 1) return head + MoreOrLess(a.meanExcessDb, a.excessShare, at);
  return head + MoreOrLess(a.meanExcessDb, a.excessShare, " on average over the sweep") + "; the most" + at + ": " +
         MoreOrLess(a.largestExcessDb, a.largestExcessShare, "");
}

std::string FitText(const CableReport& report) {
  return kFitLine + std::string("k0 ") + CoefficientText(report.k.k0) + ", k1 " + CoefficientText(report.k.k1) +
         ", k2 " + CoefficientText(report.k.k2) + "; worst error " + FixedText(report.worstFitError * kPercent, 2) +
         " %";
}

Json Number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Record PointRecord(const MeasuredPoint& p) {
  return {{"frequency_mhz", p.mhz},
          {"z0", ImpedanceValue(p.z0)},
          {"matched_loss_db_per_100ft", p.lossDbPer100Ft},
          {"matched_loss_db_per_100m", p.lossDbPer100M},
          {"velocity_factor", NumberOr(p.velocityFactor.has_value(), p.velocityFactor.value_or(0))}};
}

Json PointJson(const CableReport& report, const MeasuredPoint& p) {
  Record record = PointRecord(p);
  if (report.againstNew) {
    const PointAgainstNew at = ComparedWithNew(p, *report.againstNew, report.feet);
    record.insert(record.end(), {{"new_loss_db_per_100ft", at.newLossDbPer100Ft},
                                 {"worse_than_new_db", at.excessDb},
                                 {"worse_than_new_pct", at.excessShare * kPercent}});
  }
  return JsonOf(record);
}

Json AgainstNewJson(const std::optional<AgainstNew>& against) {
  if (!against) return nullptr;
  return {{"cable", JsonText(against->cable)},
          {"mean_worse_db", against->meanExcessDb},
          {"mean_worse_pct", against->excessShare * kPercent},
          {"most_worse_mhz", against->largestExcessMhz},
          {"most_worse_db", against->largestExcessDb},
          {"most_worse_pct", against->largestExcessShare * kPercent},
          {"extrapolated", against->extrapolated}};
}

size_t ActiveCount(const CableMeasurement& m) {
  return static_cast<size_t>(std::count_if(m.leftOut.begin(), m.leftOut.end(),
                                           [](const LeftOutPoint& p) { return p.why == LeftOutWhy::kActive; }));
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
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  out << Heading(report, metric) << '\n';
  WriteTableRowByRow(
      out, TextColumns(report, metric ? "dB/100 m" : "dB/100 ft"), points.size(),
      [&](size_t i) { return TextRow(report, points[i], metric); }, style.utf8, style.color);
  out << FitText(report) << '\n';
  if (report.againstNew) out << AgainstNewText(report, style.utf8) << '\n';
  const CableMeasurement& m = report.measurement;
  const size_t active = ActiveCount(m);
  if (m.leftOut.size() > active)
    out << Points(m.leftOut.size() - active) << (both ? kLeftOutLine : kLeftOutQuickLine) << kLeftOutWhy << '\n';
  if (active > 0) out << Points(active) << kActiveLine << '\n';
  if (m.velocityFactorUnresolved) out << kUnresolvedLine << '\n';
  if (m.tooCoarseAtMhz) {
    char line[sizeof kCoarseLine + 32];
    std::snprintf(line, sizeof line, kCoarseLine, Plain(*m.tooCoarseAtMhz).c_str());
    out << line << '\n';
  }
  if (!both) out << kQuickLine << '\n';
  if (report.againstNew) WriteLineLimits(out, report.againstNew->notes, style);
}

void WriteMeasureCsv(std::ostream& out, const CableReport& report) {
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  WriteCsv(out, PointRecord(MeasuredPoint{}), points.size(), [&points](size_t i) { return PointRecord(points[i]); });
}

void WriteMeasureJson(std::ostream& out, const CableReport& report) {
  const Json fit = {{"k0", report.k.k0},
                    {"k1", report.k.k1},
                    {"k2", report.k.k2},
                    {"worst_error_pct", report.worstFitError * kPercent}};
  const CableMeasurement& m = report.measurement;
  const Json rest = {{"fit", fit},
                     {"left_out", m.leftOut.size()},
                     {"left_out_active", ActiveCount(m)},
                     {"velocity_factor_unresolved", m.velocityFactorUnresolved},
                     {"too_coarse_from_mhz", Number(m.tooCoarseAtMhz)},
                     {"against_new", AgainstNewJson(report.againstNew)}};
  const std::vector<MeasuredPoint>& points = m.points;
  WriteJsonWithList(
      out, {{"method", BothSweeps(report) ? "open_short" : "return_loss"}}, "points", points.size(),
      [&](size_t i) { return PointJson(report, points[i]); }, rest);
}

namespace {

std::string MeasureTitle(const CableReport& report, bool metric, bool utf8) {
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  return "Matched loss of " + PlainNumberText(metric ? report.metres : report.feet, 4) + (metric ? " m" : " ft") +
         " measured from " + (BothSweeps(report) ? "its open and short sweeps, " : "its return loss, ") +
         chart::FrequencyText(points.front().mhz) + (utf8 ? "–" : "-") + chart::FrequencyText(points.back().mhz) +
         " MHz";
}

// Where the measured line loses most beyond the catalog's new cable, for its measured length.
chart::ChartLabel LargestExcessLabel(const AgainstNew& against, const std::vector<MeasuredPoint>& points,
                                     double scale) {
  const double percent = against.largestExcessShare * kPercent;
  return {0, against.largestExcessMhz, Interpolated(points, against.largestExcessMhz, scale),
          FixedText(std::abs(against.largestExcessDb), 2) + (against.largestExcessDb < 0 ? " dB less" : " dB more") +
              " than new at " + chart::FrequencyText(against.largestExcessMhz) + " MHz, " + (percent < 0 ? "" : "+") +
              FixedText(percent, 0) + " %"};
}

}  // namespace

chart::ChartSettings MeasureChart(const CableReport& report, const CatalogRow* cable, bool metric,
                                  const OutputStyle& style) {
  chart::ChartSettings chart = ChartForOutput(style);
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  chart.fromMHz = points.front().mhz;
  chart.toMHz = points.back().mhz;
  chart.unit = metric ? "dB/100 m" : "dB/100 ft";
  chart.title = MeasureTitle(report, metric, style.utf8);
  const double scale = metric ? 1 / kMetresPerFoot : 1;
  if (report.againstNew) chart.labels.push_back(LargestExcessLabel(*report.againstNew, points, scale));
  const fit::Coefficients k = report.k;
  // By reference: each copy of the curve held a copy of every point.
  chart.series.push_back({"Measured", [&points, scale](double mhz) { return Interpolated(points, mhz, scale); }});
  chart.series.push_back({"Fit", [k, scale](double mhz) { return fit::LossAt(k, mhz) * scale; }});
  if (report.againstNew) chart.notes = report.againstNew->notes;
  if (cable) {
    const CableNumbers numbers = ReadCatalogCable(*cable).numbers;
    chart.series.push_back({"Catalog: " + DisplayText(CableName(*cable), style.utf8),
                            [=](double mhz) { return MatchedLossPer100Ft(numbers, mhz) * scale; }});
  }
  return chart;
}

}  // namespace ferrolux::cli
