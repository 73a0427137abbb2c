#include "model/deembedding.hpp"

#include <cmath>

#include "model/exact_figures.hpp"

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

}  // namespace

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
