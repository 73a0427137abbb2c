#include <cmath>
#include <fstream>
#include <iterator>

#include "cli/command_error.hpp"
#include "cli/measure.hpp"
#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kHzPerMhz = 1e6;

// |S11| against the file's own reference, as the analyser showed it; an open reads 1.
double Reflection(std::complex<double> z, double refOhms) {
  if (!std::isfinite(std::abs(z))) return 1;
  return std::abs((z - refOhms) / (z + refOhms));
}

}  // namespace

SweepFile ReadSweepFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw CommandError(kExitFailure, name + ": cannot be read");
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    const Sweep sweep = ReadTouchstone(bytes);
    SweepFile file{name, {}};
    for (const SweepPoint& p : sweep.points)
      file.points.push_back({p.freqHz / kHzPerMhz, p.z, Reflection(p.z, sweep.refOhms), static_cast<int>(p.line)});
    if (file.points.empty()) throw CommandError(kExitFailure, name + ": no points");
    return file;
  } catch (const TouchstoneError& error) {
    throw CommandError(kExitFailure, name + ":" + std::to_string(error.Line()) + ": " + error.what());
  }
}

}  // namespace ferrolux::cli
