#pragma once
// `ferrolux measure`: a cable measured at the shack end with its far end open and then
// shorted, given back as figures per frequency, a fit of k0, k1 and k2, and a catalog line.

#include <complex>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/settings.hpp"
#include "model/cable_measurement.hpp"
#include "model/cable_numbers.hpp"
#include "report/records.hpp"
#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

// One point of a one-port sweep as the measurement reads it, with where it stands in its file.
struct SweepReading {
  double mhz = 0;
  std::complex<double> z;  // ohms
  double reflection = 0;   // |S11| against the file's reference impedance
  int line = 0;
};

// A sweep as read: its readings are worked out from its points when they are taken, so a sweep
// of a million points is never held twice.
struct SweepFile {
  std::string name;  // as given on the command line
  Sweep sweep;

  std::size_t Size() const { return sweep.points.size(); }
  SweepReading operator[](std::size_t index) const;
};

// Reads a one-port sweep file; a fault throws a CommandError "FILE:LINE: what is wrong".
SweepFile ReadSweepFile(const std::string& name);

// The options as typed; empty when not given.
struct MeasureOptions {
  std::string open, shorted, length, vfGuess, type, part, cable, svg;
  bool metric = false, catalogLine = false, plot = false;
  OutputFormat format = OutputFormat::kText;
};

enum class MeasureMethod { kOpenShort, kReturnLoss };

// The measured matched loss against the catalog's for the same cable when new, over the sweep;
// the excess in dB is for the measured length.
struct AgainstNew {
  std::string cable;  // the catalog's name, as the file holds it
  CableNumbers numbers;
  double meanExcessDb = 0;
  double excessShare = 0;  // the summed excess over the summed new loss
  double largestExcessMhz = 0, largestExcessDb = 0, largestExcessShare = 0;
  bool extrapolated = false;       // the sweep reaches beyond the points the catalog's loss was fitted to
  std::vector<std::string> notes;  // what the catalog's loss over the sweep rests on
};

struct CableReport {
  MeasureMethod method = MeasureMethod::kOpenShort;
  double metres = 0, feet = 0;
  CableMeasurement measurement;
  fit::Coefficients k;  // as the catalog writes them
  double worstFitError = 0;
  std::optional<AgainstNew> againstNew;  // with --cable
};

// At one point: the catalog's matched loss per 100 ft when new, and the measured excess over it
// for the measured length.
struct PointAgainstNew {
  double newLossDbPer100Ft = 0;
  double excessDb = 0;
  double excessShare = 0;
};
PointAgainstNew ComparedWithNew(const MeasuredPoint& point, const AgainstNew& against, double feet);

// The options' own faults, before any file is read: a UsageError naming the option.
struct MeasureRequest {
  Length length;
  std::optional<double> vfGuess;
};
MeasureRequest ReadMeasureOptions(const MeasureOptions& options);

// Checks the pair (same frequencies) and measures the cable, leaving out and counting points
// that show no far end or an active one; a fault, or too few points left, throws a CommandError
// "FILE:LINE: what is wrong", exit status 1. With `cable`, the loss is set against its new loss.
CableReport MeasureCable(std::optional<SweepFile> open, std::optional<SweepFile> shorted, const MeasureOptions& options,
                         const CatalogRow* cable = nullptr);

// The whole record for the user's own catalog, CR LF included: type and part number in the
// catalog's single-byte text, the measured impedance and velocity factor (medians, at the
// catalog's precision; no velocity factor where it could not be resolved) and the fit.
std::string MeasuredCatalogLine(const CableReport& report, const MeasureOptions& options);
inline constexpr const char* kNoVelocityFactorInRecord =
    "ferrolux: the record has no velocity factor: this sweep cannot tell it (it would come out above 1); "
    "give --vf-guess";

}  // namespace ferrolux::cli
