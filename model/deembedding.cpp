#include "model/deembedding.hpp"

#include <cmath>
#include <numbers>

#include "model/exact_figures.hpp"
#include "model/path_range.hpp"

namespace ferrolux {

namespace {

bool IsOpen(Complex z) { return std::isinf(z.real()); }

// The figures once both ends are known.
LinePoint WithFigures(const FeedLine& line, const Line& model, const LineTransfer& transfer, LinePoint p) {
  p.passive = IsPassive(p.antennaZ);
  p.shackSwr = Swr(p.shackZ, line.refOhms);
  p.antennaSwr = Swr(p.antennaZ, line.refOhms);
  p.matchedLossDb = MatchedLossDb(model);
  // An open takes no power: no figure of the transfer, which would read inf/inf.
  p.totalLossDb = IsOpen(p.antennaZ) ? INFINITY : transfer.TotalLossDb(p.antennaZ);
  return p;
}

// The power in at the shack over the power out at `antennaZ`, in dB, through the stored matrix
// and its common factor.
double TotalLossThrough(const Abcd& path, Complex antennaZ) {
  const Complex shackVolts = path.a * antennaZ + path.b, shackAmps = path.c * antennaZ + path.d;
  const double dbPerNeper = 20 * std::log10(std::numbers::e);
  return 10 * std::log10((shackVolts * std::conj(shackAmps)).real() / antennaZ.real()) + dbPerNeper * path.logScale;
}

}  // namespace

LinePoint DeembedThroughPathAt(const std::vector<PathElement>& path, double refOhms, double freqMHz, Complex shackZ) {
  const Abcd whole = PathAbcd(path, freqMHz, refOhms);
  LinePoint p;
  p.freqMHz = freqMHz;
  p.shackZ = shackZ;
  p.antennaZ = AntennaZThrough(whole, shackZ);
  p.passive = IsPassive(p.antennaZ);
  p.shackSwr = Swr(p.shackZ, refOhms);
  p.antennaSwr = Swr(p.antennaZ, refOhms);
  p.matchedLossDb = PathMatchedLossDb(path, freqMHz);
  // No power reaches an open, a pure reactance or an active end: no figure, rather than nan.
  p.totalLossDb = IsOpen(p.antennaZ) || !(p.antennaZ.real() > 0) ? INFINITY : TotalLossThrough(whole, p.antennaZ);
  return p;
}

LinePoint DeembedAt(const FeedLine& line, double freqMHz, Complex shackZ) {
  const Line model = MakeLine(line.cable, line.velocityFactor, freqMHz, line.lengthM);
  const LineTransfer transfer(model);
  LinePoint p;
  p.freqMHz = freqMHz;
  p.shackZ = shackZ;
  p.antennaZ = IsOpen(shackZ) ? AntennaBehindAnOpen(model) : transfer.AntennaZ(shackZ);
  return WithFigures(line, model, transfer, p);
}

LinePoint EmbedAt(const FeedLine& line, double freqMHz, Complex antennaZ) {
  const Line model = MakeLine(line.cable, line.velocityFactor, freqMHz, line.lengthM);
  const LineTransfer transfer(model);
  LinePoint p;
  p.freqMHz = freqMHz;
  p.antennaZ = antennaZ;
  p.shackZ = IsOpen(antennaZ) ? model.z0 / std::tanh(model.gamma * model.lengthM) : transfer.ShackZ(antennaZ);
  return WithFigures(line, model, transfer, p);
}

}  // namespace ferrolux
