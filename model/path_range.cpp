#include "model/path_range.hpp"

#include <cmath>

namespace ferrolux {

namespace {

// The load's volts and amps through the inverse chain matrix. The stored matrix is the true one
// over a factor of size e^logScale, and the true one has determinant 1, so its inverse is that
// factor times the stored adjugate; the factor's phase is common to both and no power sees it.
LoadWaves WavesThrough(const Abcd& m, double refOhms) {
  const double size = std::exp(m.logScale);
  return {size * (m.d + m.b / refOhms), size * (m.d - m.b / refOhms), -size * (m.c + m.a / refOhms),
          size * (m.a / refOhms - m.c)};
}

}  // namespace

double ElementMatchedLossDb(const PathElement& element, double freqMHz) {
  switch (element.kind) {
    case ElementKind::kCable: {
      const PathCable& c = element.cable;
      return MatchedLossDb(MakeLine(c.numbers, c.velocityFactor, freqMHz, c.lengthM));
    }
    case ElementKind::kConnector: return ConnectorLossDb(element.connector, freqMHz);
    case ElementKind::kLumped: break;
  }
  return element.lumpedDb;
}

double PathMatchedLossDb(const std::vector<PathElement>& path, double freqMHz) {
  double total = 0;
  for (const PathElement& element : path) total += ElementMatchedLossDb(element, freqMHz);
  return total;
}

SwrRange PathSwrRange(const std::vector<PathElement>& path, double freqMHz, double shackSwr, double refOhms,
                      double powerW) {
  return SwrRangeOfWaves(WavesThrough(PathAbcd(path, freqMHz, refOhms), refOhms), PathMatchedLossDb(path, freqMHz),
                         shackSwr, refOhms, powerW);
}

}  // namespace ferrolux
