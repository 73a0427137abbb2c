#include "cli/measure.hpp"

#include <algorithm>
#include <cmath>

#include "catalog/cable.hpp"
#include "catalog/catalog_line.hpp"
#include "catalog/catalog_reader.hpp"
#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"
#include "report/line_limits.hpp"
#include "report/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

// Two files give the same frequency when their texts (in any unit) read back this close.
constexpr double kSameFrequency = 1e-9;
constexpr double kFeetPer100 = 100;

CommandError FileFault(const SweepFile& file, int line, const std::string& what) {
  return CommandError(kExitFailure, file.name + ":" + std::to_string(line) + ": " + what);
}

bool SameFrequency(double a, double b) { return std::fabs(a - b) <= kSameFrequency * std::max(a, b); }

void CheckSameFrequencies(const SweepFile& open, const SweepFile& shorted) {
  const size_t shared = std::min(open.Size(), shorted.Size());
  for (size_t i = 0; i < shared; ++i) {
    const SweepReading o = open[i], s = shorted[i];
    if (!SameFrequency(o.mhz, s.mhz))
      throw FileFault(shorted, s.line,
                      PlainNumberText(s.mhz, 15) + " MHz where " + open.name + " has " + PlainNumberText(o.mhz, 15) +
                          " MHz: the two sweeps must have the same frequencies");
  }
  const bool openLonger = open.Size() > shared;
  const SweepFile& longer = openLonger ? open : shorted;
  if (longer.Size() > shared)
    throw FileFault(longer, longer[shared].line,
                    PlainNumberText(longer[shared].mhz, 15) + " MHz is not in " + (openLonger ? shorted : open).name +
                        ": the two sweeps must have the same frequencies");
}

std::optional<double> VelocityFactorGuess(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return ReadVelocityFactor("--vf-guess", text);
}

// The files are given up once their readings are taken: a sweep of a million points is not held twice.
// GCC 12 on ARM warns falsely that the optional sweeps moved in here may be uninitialized.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
CableMeasurement Measured(std::optional<SweepFile> open, std::optional<SweepFile> shorted, double metres,
                          const std::optional<double>& vfGuess) {
  if (open && shorted) {
    CheckSameFrequencies(*open, *shorted);
    std::vector<OpenShortReading> readings;
    readings.reserve(open->Size());
    for (size_t i = 0; i < open->Size(); ++i) readings.push_back({(*open)[i].mhz, (*open)[i].z, (*shorted)[i].z});
    open.reset();
    shorted.reset();
    return MeasureOpenShort(readings, metres, vfGuess);
  }
  const SweepFile& file = open ? *open : *shorted;
  std::vector<ReflectionReading> readings;
  readings.reserve(file.Size());
  for (size_t i = 0; i < file.Size(); ++i) readings.push_back({file[i].mhz, file[i].reflection});
  open.reset();
  shorted.reset();
  return MeasureReturnLoss(readings, metres);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

double CatalogCoefficient(double k) { return ParseNumber(CoefficientText(k)); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The catalog's own text for a typed field; what the loader could not read back as typed is refused.
std::string CatalogFieldText(const std::string& option, const std::string& typed) {
  if (typed.empty()) throw UsageError("--catalog-line needs " + option);
  CatalogField field = CatalogFieldOfTyped(typed);
  if (!field.fault.empty()) throw UsageError(option + " " + field.fault);
  return std::move(field.bytes);
}

// Room in a record for the figures beside the type and part number: the impedance, the velocity
// factor, three coefficients and the TABs between the sixteen fields, with plenty to spare.
constexpr size_t kFigureBytes = 96;

CommandError TooLong(size_t textBytes) {
  return UsageError("--type and --part: " + std::to_string(textBytes) +
                    " bytes together leave no room for the figures in a catalog record of at most " +
                    std::to_string(kMaxCatalogLineBytes) + " bytes, the longest the catalog reads");
}

void CheckRecordLength(const std::string& type, const std::string& part) {
  if (type.size() + part.size() + kFigureBytes > kMaxCatalogLineBytes) throw TooLong(type.size() + part.size());
}

// Why no frequency is left: how many show no far end, how many an active one.
std::string LeftOutText(const CableMeasurement& m) {
  const auto active = static_cast<size_t>(std::count_if(
      m.leftOut.begin(), m.leftOut.end(), [](const LeftOutPoint& p) { return p.why == LeftOutWhy::kActive; }));
  std::string text;
  if (m.leftOut.size() > active) text = std::to_string(m.leftOut.size() - active) + " show no far end through the loss";
  if (active > 0)
    text += (text.empty() ? "" : "; ") + std::to_string(active) +
            " read |S11| above 1, which only an active termination gives: check the calibration";
  return text;
}

AgainstNew AgainstNewOf(const CableReport& report, const CatalogRow& cable) {
  AgainstNew against;
  against.cable = CableName(cable);
  against.numbers = ReadCableNumbers(cable);
  const std::vector<MeasuredPoint>& points = report.measurement.points;
  double excess = 0, fresh = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const PointAgainstNew at = ComparedWithNew(points[i], against, report.feet);
    excess += at.excessDb;
    fresh += at.newLossDbPer100Ft * report.feet / kFeetPer100;
    if (i == 0 || at.excessDb > against.largestExcessDb)
      against.largestExcessMhz = points[i].mhz, against.largestExcessDb = at.excessDb,
      against.largestExcessShare = at.excessShare;
  }
  if (!(fresh > 0)) throw UsageError("--cable: the catalog gives no matched loss for " + DisplayText(against.cable));
  against.meanExcessDb = excess / static_cast<double>(report.measurement.points.size());
  against.excessShare = excess / fresh;
  against.extrapolated = Extrapolated(cable[column::kPartNumber], points.front().mhz, points.back().mhz);
  against.notes = LineLimitLines({&cable}, points.front().mhz, points.back().mhz);
  return against;
}

}  // namespace

PointAgainstNew ComparedWithNew(const MeasuredPoint& point, const AgainstNew& against, double feet) {
  PointAgainstNew at;
  at.newLossDbPer100Ft = MatchedLossPer100Ft(against.numbers, point.mhz);
  at.excessDb = (point.lossDbPer100Ft - at.newLossDbPer100Ft) * feet / kFeetPer100;
  at.excessShare = at.newLossDbPer100Ft > 0 ? point.lossDbPer100Ft / at.newLossDbPer100Ft - 1 : 0;
  return at;
}

MeasureRequest ReadMeasureOptions(const MeasureOptions& options) {
  MeasureRequest request{ReadLength(options.length, options.metric), VelocityFactorGuess(options.vfGuess)};
  if (!(request.length.metres > 0)) throw UsageError("--length: the cable needs a length above 0");
  if (options.catalogLine) {
    const std::string type = CatalogFieldText("--type", options.type);
    CheckRecordLength(type, CatalogFieldText("--part", options.part));
  }
  return request;
}

CableReport MeasureCable(std::optional<SweepFile> open, std::optional<SweepFile> shorted, const MeasureOptions& options,
                         const CatalogRow* cable) {
  if (!open && !shorted) throw UsageError("give the sweep with the far end open (--open), shorted (--short) or both");
  const auto [length, vfGuess] = ReadMeasureOptions(options);
  CableReport report;
  report.method = open && shorted ? MeasureMethod::kOpenShort : MeasureMethod::kReturnLoss;
  report.metres = length.metres;
  report.feet = length.feet;
  const std::string name = (open ? *open : *shorted).name;
  report.measurement = Measured(std::move(open), std::move(shorted), length.metres, vfGuess);
  if (report.measurement.points.empty())
    throw CommandError(kExitFailure, name + ": no frequency left to measure: " + LeftOutText(report.measurement));
  const fit::Coefficients k = FitMatchedLoss(report.measurement.points).k;
  report.k = {CatalogCoefficient(k.k0), CatalogCoefficient(k.k1), CatalogCoefficient(k.k2)};
  report.worstFitError = WorstRelativeError(report.k, report.measurement.points);
  if (cable) report.againstNew = AgainstNewOf(report, *cable);
  return report;
}

std::string MeasuredCatalogLine(const CableReport& report, const MeasureOptions& options) {
  std::vector<double> ohms, velocityFactors;
  for (const MeasuredPoint& p : report.measurement.points) {
    if (p.z0) ohms.push_back(p.z0->real());
    if (p.velocityFactor) velocityFactors.push_back(*p.velocityFactor);
  }
  CatalogRow record;
  record[column::kType] = CatalogFieldText("--type", options.type);
  record[column::kPartNumber] = CatalogFieldText("--part", options.part);
  if (!ohms.empty()) record[column::kImpedance] = ImpedanceText(Median(ohms));
  if (!velocityFactors.empty()) record[column::kVelocityFactor] = VelocityFactorText(Median(velocityFactors));
  record[column::kK0] = CoefficientText(report.k.k0);
  record[column::kK1] = CoefficientText(report.k.k1);
  record[column::kK2] = CoefficientText(report.k.k2);
  std::string line = CatalogLine(record);
  if (!FitsCatalogLine(line)) throw TooLong(record[column::kType].size() + record[column::kPartNumber].size());
  return line;
}

}  // namespace ferrolux::cli
