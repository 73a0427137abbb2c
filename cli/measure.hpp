#pragma once
// `ferrolux measure`: a cable measured at the shack end with its far end open and then
// shorted, given back as figures per frequency, a fit of k0, k1 and k2, and a catalog line.

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "cli/settings.hpp"
#include "model/cable_measurement.hpp"

namespace ferrolux::cli {

// One point of a one-port sweep as the measurement reads it, with where it stands in its file.
struct SweepReading {
  double mhz = 0;
  std::complex<double> z;  // ohms
  double reflection = 0;   // |S11| against the file's reference impedance
  int line = 0;
};

struct SweepFile {
  std::string name;  // as given on the command line
  std::vector<SweepReading> points;
};

// Reads a one-port sweep file; a fault throws a CommandError "FILE:LINE: what is wrong".
SweepFile ReadSweepFile(const std::string& name);

// The options as typed; empty when not given.
struct MeasureOptions {
  std::string open, shorted, length, vfGuess, type, part, cable, svg;
  bool metric = false, catalogLine = false, plot = false;
  std::string format = "text";
};

enum class MeasureMethod { kOpenShort, kReturnLoss };

struct CableReport {
  MeasureMethod method = MeasureMethod::kOpenShort;
  double metres = 0, feet = 0;
  CableMeasurement measurement;
  fit::Coefficients k;  // as the catalog writes them
  double worstFitError = 0;
};

// The options' own faults, before any file is read: a UsageError naming the option.
struct MeasureRequest {
  Length length;
  std::optional<double> vfGuess;
};
MeasureRequest ReadMeasureOptions(const MeasureOptions& options);

// Checks the pair (same frequencies, no active termination) and measures the cable; a fault
// throws a CommandError "FILE:LINE: what is wrong", exit status 1.
CableReport MeasureCable(const std::optional<SweepFile>& open, const std::optional<SweepFile>& shorted,
                         const MeasureOptions& options);

// The whole record for the user's own catalog, CR LF included: type, part number, the measured
// impedance and velocity factor (medians, at the catalog's precision) and the fit.
std::string MeasuredCatalogLine(const CableReport& report, const MeasureOptions& options);

}  // namespace ferrolux::cli
