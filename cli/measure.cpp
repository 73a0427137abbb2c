#include "cli/measure.hpp"

#include <algorithm>
#include <cmath>

#include "catalog/catalog_line.hpp"
#include "cli/command_error.hpp"
#include "cli/settings.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

// Two files give the same frequency when their texts (in any unit) read back this close.
constexpr double kSameFrequency = 1e-9;

CommandError FileFault(const SweepFile& file, int line, const std::string& what) {
  return CommandError(kExitFailure, file.name + ":" + std::to_string(line) + ": " + what);
}

void CheckPassive(const SweepFile& file) {
  for (const SweepReading& p : file.points)
    if (p.reflection > 1)
      throw FileFault(file, p.line,
                      "|S11| " + FixedText(p.reflection, 4) + " at " + PlainNumberText(p.mhz, 15) +
                          " MHz is above 1, which only an active termination gives: check the calibration");
}

bool SameFrequency(double a, double b) { return std::fabs(a - b) <= kSameFrequency * std::max(a, b); }

void CheckSameFrequencies(const SweepFile& open, const SweepFile& shorted) {
  const size_t shared = std::min(open.points.size(), shorted.points.size());
  for (size_t i = 0; i < shared; ++i) {
    const SweepReading &o = open.points[i], &s = shorted.points[i];
    if (!SameFrequency(o.mhz, s.mhz))
      throw FileFault(shorted, s.line,
                      PlainNumberText(s.mhz, 15) + " MHz where " + open.name + " has " + PlainNumberText(o.mhz, 15) +
                          " MHz: the two sweeps must have the same frequencies");
  }
  const bool openLonger = open.points.size() > shared;
  const SweepFile& longer = openLonger ? open : shorted;
  if (longer.points.size() > shared)
    throw FileFault(longer, longer.points[shared].line,
                    PlainNumberText(longer.points[shared].mhz, 15) + " MHz is not in " +
                        (openLonger ? shorted : open).name + ": the two sweeps must have the same frequencies");
}

std::optional<double> VelocityFactorGuess(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return ReadVelocityFactor("--vf-guess", text);
}

CableMeasurement Measured(const std::optional<SweepFile>& open, const std::optional<SweepFile>& shorted, double metres,
                          const std::optional<double>& vfGuess) {
  if (open && shorted) {
    CheckSameFrequencies(*open, *shorted);
    std::vector<OpenShortReading> readings;
    for (size_t i = 0; i < open->points.size(); ++i)
      readings.push_back({open->points[i].mhz, open->points[i].z, shorted->points[i].z});
    return MeasureOpenShort(readings, metres, vfGuess);
  }
  std::vector<ReflectionReading> readings;
  for (const SweepReading& p : (open ? *open : *shorted).points) readings.push_back({p.mhz, p.reflection});
  return MeasureReturnLoss(readings, metres);
}

double CatalogCoefficient(double k) { return ParseNumber(CoefficientText(k)); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Catalog fields hold no TAB or line end, and the loader drops a double quote.
void CheckFieldText(const std::string& option, const std::string& text) {
  if (text.empty()) throw UsageError("--catalog-line needs " + option);
  if (text.find_first_of("\t\r\n\"") != std::string::npos)
    throw UsageError(option + ": a catalog field holds no TAB, line end or double quote");
}

}  // namespace

MeasureRequest ReadMeasureOptions(const MeasureOptions& options) {
  MeasureRequest request{ReadLength(options.length, options.metric), VelocityFactorGuess(options.vfGuess)};
  if (!(request.length.metres > 0)) throw UsageError("--length: the cable needs a length above 0");
  if (options.catalogLine) {
    CheckFieldText("--type", options.type);
    CheckFieldText("--part", options.part);
  }
  return request;
}

CableReport MeasureCable(const std::optional<SweepFile>& open, const std::optional<SweepFile>& shorted,
                         const MeasureOptions& options) {
  if (!open && !shorted) throw UsageError("give the sweep with the far end open (--open), shorted (--short) or both");
  const auto [length, vfGuess] = ReadMeasureOptions(options);
  for (const auto* file : {&open, &shorted})
    if (*file) CheckPassive(**file);
  CableReport report;
  report.method = open && shorted ? MeasureMethod::kOpenShort : MeasureMethod::kReturnLoss;
  report.metres = length.metres;
  report.feet = length.feet;
  report.measurement = Measured(open, shorted, length.metres, vfGuess);
  if (report.measurement.points.empty())
    throw CommandError(kExitFailure, (open ? *open : *shorted).name +
                                         ": no frequency left to measure: the far end cannot be seen at any of them");
  const fit::Coefficients k = FitMatchedLoss(report.measurement.points).k;
  report.k = {CatalogCoefficient(k.k0), CatalogCoefficient(k.k1), CatalogCoefficient(k.k2)};
  report.worstFitError = WorstRelativeError(report.k, report.measurement.points);
  return report;
}

std::string MeasuredCatalogLine(const CableReport& report, const MeasureOptions& options) {
  std::vector<double> ohms, velocityFactors;
  for (const MeasuredPoint& p : report.measurement.points) {
    if (p.z0) ohms.push_back(p.z0->real());
    if (p.velocityFactor) velocityFactors.push_back(*p.velocityFactor);
  }
  CatalogRow record;
  record[column::kType] = options.type;
  record[column::kPartNumber] = options.part;
  if (!ohms.empty()) record[column::kImpedance] = ImpedanceText(Median(ohms));
  if (!velocityFactors.empty()) record[column::kVelocityFactor] = VelocityFactorText(Median(velocityFactors));
  record[column::kK0] = CoefficientText(report.k.k0);
  record[column::kK1] = CoefficientText(report.k.k1);
  record[column::kK2] = CoefficientText(report.k.k2);
  return CatalogLine(record);
}

}  // namespace ferrolux::cli
