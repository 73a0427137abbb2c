#include "model/element_path.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "model/standing_wave.hpp"

namespace ferrolux {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const double kDbPerNeper = 20 * std::log10(std::numbers::e);

bool IsOpen(Complex z) { return std::isinf(z.real()) || std::isinf(z.imag()); }

// A ratio that reads an open where its denominator is exactly zero, rather than nan.
Complex RatioOrOpen(Complex over, Complex under) { return under == Complex() ? Complex(kInfinity, 0) : over / under; }

// A uniform line of impedance z0 and electrical length x (nepers + j radians) with the common
// factor e^(±x) / 2 taken out: cosh x and sinh x as 1 ± u, u = e^(∓2x) at most 1 in size, so no
// loss overflows and a lossless quarter wave (cosh x = 0) stays exact.
Abcd UniformLine(Complex z0, Complex x) {
  const double sign = x.real() < 0 ? -1 : 1;
  const Complex u = std::exp(-2 * sign * x), sum = 1.0 + u, difference = sign * (1.0 - u);
  return {sum, z0 * difference, difference / z0, sum, std::fabs(x.real()) - std::numbers::ln2};
}

Abcd Attenuator(double lossDb, double lineOhms) { return UniformLine(lineOhms, lossDb / kDbPerNeper); }

Line LineOf(const PathCable& cable, double freqMHz) {
  return MakeLine(cable.numbers, cable.velocityFactor, freqMHz, cable.lengthM);
}

Abcd Rescaled(const Abcd& m) {
  const double size = std::max({std::abs(m.a), std::abs(m.b), std::abs(m.c), std::abs(m.d)});
  if (!(size > 0) || !std::isfinite(size)) return m;
  return {m.a / size, m.b / size, m.c / size, m.d / size, m.logScale + std::log(size)};
}

// `near` on the shack side of `far`.
Abcd Cascade(const Abcd& near, const Abcd& far) {
  return Rescaled({near.a * far.a + near.b * far.c, near.a * far.b + near.b * far.d, near.c * far.a + near.d * far.c,
                   near.c * far.b + near.d * far.d, near.logScale + far.logScale});
}

// Volts and amps at a joint, into the antenna side, kept near 1 in size as the matrices are:
// the true values are these times e^logScale.
struct Wave {
  Complex volts, amps;
  double logScale = 0;

  double Power() const { return (volts * std::conj(amps)).real(); }
};

Wave Normalised(Complex volts, Complex amps, double logScale) {
  const double size = std::max(std::abs(volts), std::abs(amps));
  if (!(size > 0) || !std::isfinite(size)) return {volts, amps, logScale};
  return {volts / size, amps / size, logScale + std::log(size)};
}

Wave Through(const Abcd& m, const Wave& far) {
  return Normalised(m.a * far.volts + m.b * far.amps, m.c * far.volts + m.d * far.amps, far.logScale + m.logScale);
}

// The waves at every joint, the antenna's last, for 1 V into an open or 1 A into any other load.
std::vector<Wave> WavesAlong(const std::vector<Abcd>& elements, Complex antennaZ) {
  std::vector<Wave> waves(elements.size() + 1);
  waves.back() = IsOpen(antennaZ) ? Wave{1, 0, 0} : Normalised(antennaZ, 1, 0);
  for (size_t k = elements.size(); k-- > 0;) waves[k] = Through(elements[k], waves[k + 1]);
  return waves;
}

// The loss from joint `near` to joint `far`, in dB; infinite when nothing reaches `far`.
double LossDbBetween(const Wave& near, const Wave& far) {
  if (!(far.Power() > 0)) return kInfinity;
  return 10 * std::log10(near.Power() / far.Power()) + kDbPerNeper * (near.logScale - far.logScale);
}

bool PowerFlows(const std::vector<Wave>& waves) {
  return waves.front().Power() > 0 && std::ranges::all_of(waves, [](const Wave& w) {
           return w.Power() >= 0 && std::isfinite(w.Power()) && std::isfinite(w.logScale);
         });
}

Joint JointOf(const Wave& wave, double refOhms) {
  const Complex z = RatioOrOpen(wave.volts, wave.amps);
  return {z, IsOpen(z) ? kInfinity : Swr(z, refOhms), 0};
}

// The log of a joint's true volts per unit of its stored wave, at the power fed in. Worked in
// logs throughout: a load of almost no resistance would overflow the ratio of the powers.
double LogAmplitude(const Wave& shack, const Wave& w, double powerW) {
  // The difference of the scales first: beside a huge scale the small term would be lost.
  return (w.logScale - shack.logScale) + (std::log(powerW) - std::log(shack.Power())) / 2;
}

// The nominal impedance of the line each element sits in. A connector or a loss is in the line
// that feeds it, the nearest cable on its shack side (at the shack end, the nearest on its antenna
// side), so a run of them between two cables sits in one line; a path of no cable in `noCableOhms`.
std::vector<double> LineOhmsAlong(const std::vector<PathElement>& path, double noCableOhms) {
  std::vector<double> ohms(path.size(), 0);
  double shackSide = 0;
  for (size_t k = 0; k < path.size(); ++k) {
    if (path[k].kind == ElementKind::kCable) shackSide = path[k].cable.numbers.impedanceOhms;
    ohms[k] = shackSide;
  }
  double antennaSide = noCableOhms;
  for (size_t k = path.size(); k-- > 0;) {
    if (path[k].kind == ElementKind::kCable) antennaSide = path[k].cable.numbers.impedanceOhms;
    if (!(ohms[k] > 0)) ohms[k] = antennaSide;
  }
  return ohms;
}

std::vector<Abcd> ElementsAbcd(const std::vector<PathElement>& path, double freqMHz, double refOhms) {
  const std::vector<double> lineOhms = LineOhmsAlong(path, refOhms);
  std::vector<Abcd> elements;
  elements.reserve(path.size());
  for (size_t k = 0; k < path.size(); ++k) elements.push_back(ElementAbcd(path[k], freqMHz, lineOhms[k]));
  return elements;
}

std::vector<Wave> WavesThrough(const std::vector<PathElement>& path, double freqMHz, Complex antennaZ, double refOhms) {
  return WavesAlong(ElementsAbcd(path, freqMHz, refOhms), antennaZ);
}

// The powers, losses and standing-wave peaks once the shack's power sets the waves' size.
void SetPowerFigures(PathFigures& figures, const std::vector<PathElement>& path, const std::vector<Wave>& waves,
                     double freqMHz, double powerW) {
  const Wave& shack = waves.front();
  const auto logAmplitude = [&](const Wave& w) { return LogAmplitude(shack, w, powerW); };
  for (size_t k = 0; k < waves.size(); ++k) {
    const double stored = waves[k].Power();
    figures.joints[k].powerW = stored > 0 ? std::exp(std::log(stored) + 2 * logAmplitude(waves[k])) : 0;
  }
  for (size_t k = 0; k < path.size(); ++k) {
    ElementFigures& element = figures.elements[k];
    element.lossDb = LossDbBetween(waves[k], waves[k + 1]);
    element.lossW = figures.joints[k].powerW - figures.joints[k + 1].powerW;
    if (path[k].kind != ElementKind::kCable) continue;
    const Wave& far = waves[k + 1];
    const WavePeaks peaks = StandingWavePeaks(LineOf(path[k].cable, freqMHz), far.volts, far.amps, logAmplitude(far));
    element.peakVolts = peaks.volts;
    element.peakAmps = peaks.amps;
  }
  figures.totalLossDb = LossDbBetween(waves.front(), waves.back());
  figures.powerOutW = figures.joints.back().powerW;
}

}  // namespace

Abcd ElementAbcd(const PathElement& element, double freqMHz, double lineOhms) {
  switch (element.kind) {
    case ElementKind::kCable: {
      const Line line = LineOf(element.cable, freqMHz);
      return UniformLine(line.z0, line.gamma * line.lengthM);
    }
    case ElementKind::kConnector: return Attenuator(ConnectorLossDb(element.connector, freqMHz), lineOhms);
    case ElementKind::kLumped: break;
  }
  return Attenuator(element.lumpedDb, lineOhms);
}

Abcd PathAbcd(const std::vector<PathElement>& path, double freqMHz, double refOhms) {
  Abcd whole;
  for (const Abcd& element : ElementsAbcd(path, freqMHz, refOhms)) whole = Cascade(whole, element);
  return whole;
}

Complex ShackZThrough(const Abcd& path, Complex antennaZ) {
  if (IsOpen(antennaZ)) return RatioOrOpen(path.a, path.c);
  return RatioOrOpen(path.a * antennaZ + path.b, path.c * antennaZ + path.d);
}

Complex AntennaZThrough(const Abcd& path, Complex shackZ) {
  if (IsOpen(shackZ)) return RatioOrOpen(-path.d, path.c);
  return RatioOrOpen(path.d * shackZ - path.b, path.a - path.c * shackZ);
}

PathFigures SolvePath(const std::vector<PathElement>& path, double freqMHz, Complex antennaZ, double refOhms,
                      double powerW) {
  const std::vector<Wave> waves = WavesThrough(path, freqMHz, antennaZ, refOhms);
  PathFigures figures;
  figures.elements.resize(path.size());
  for (const Wave& wave : waves) figures.joints.push_back(JointOf(wave, refOhms));
  figures.powerFigures = PowerFlows(waves);
  if (figures.powerFigures) SetPowerFigures(figures, path, waves, freqMHz, powerW);
  return figures;
}

WavePeaks CablePeaksThrough(const std::vector<PathElement>& path, size_t cable, double freqMHz, Complex antennaZ,
                            double refOhms, double powerW) {
  const std::vector<Wave> waves = WavesThrough(path, freqMHz, antennaZ, refOhms);
  if (path.at(cable).kind != ElementKind::kCable || !PowerFlows(waves)) return {};
  const Wave& far = waves[cable + 1];
  return StandingWavePeaks(LineOf(path[cable].cable, freqMHz), far.volts, far.amps,
                           LogAmplitude(waves.front(), far, powerW));
}

}  // namespace ferrolux
