#include <cmath>

#include "cli/measure.hpp"
#include "cli/sweep_file.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kHzPerMhz = 1e6;

// |S11| against the file's own reference, as the analyser showed it; an open reads 1.
double Reflection(std::complex<double> z, double refOhms) {
  if (!std::isfinite(std::abs(z))) return 1;
  return std::abs((z - refOhms) / (z + refOhms));
}

}  // namespace

SweepReading SweepFile::operator[](std::size_t index) const {
  const SweepPoint& p = sweep.points[index];
  return {p.freqHz / kHzPerMhz, p.z, Reflection(p.z, sweep.refOhms), static_cast<int>(p.line)};
}

SweepFile ReadSweepFile(const std::string& name) { return {name, ReadSweep(name)}; }

}  // namespace ferrolux::cli
