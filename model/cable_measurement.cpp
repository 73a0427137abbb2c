#include "model/cable_measurement.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ferrolux {

namespace {

constexpr double kLight = 299792458;                         // m/s
constexpr double kMetresPer100Ft = 30.48;                    // metres in 100 ft
constexpr double kDbPerNeper = 20 * std::numbers::log10e;    // 8.686
constexpr double kPer100MOver100Ft = 100 / kMetresPer100Ft;  // dB per 100 m over dB per 100 ft
constexpr double kHzPerMhz = 1e6;
constexpr double kHalfWave = std::numbers::pi;  // radians of electrical length
constexpr double kQuarterWave = std::numbers::pi / 2;
// |Zoc - Zsc| / |Zoc + Zsc| is 1 / |cosh 2γℓ|: below this the round trip has lost more than
// 66 dB, past what an analyser's directivity lets it see of the far end.
constexpr double kNoInformation = 1e-3;

double AngularFrequency(double mhz) { return 2 * std::numbers::pi * mhz * kHzPerMhz; }

Impedance PositiveRealRoot(Impedance z) {
  const Impedance root = std::sqrt(z);
  return root.real() < 0 ? -root : root;
}

MeasuredPoint LossPoint(double mhz, double nepers, double metres) {
  MeasuredPoint p;
  p.mhz = mhz;
  p.lossDbPer100Ft = nepers * kDbPerNeper * kMetresPer100Ft / metres;
  p.lossDbPer100M = p.lossDbPer100Ft * kPer100MOver100Ft;
  return p;
}

std::optional<LeftOutWhy> Unusable(const OpenShortReading& r) {
  const bool finite = std::isfinite(std::abs(r.open)) && std::isfinite(std::abs(r.shorted));
  if (finite && (r.open.real() < 0 || r.shorted.real() < 0)) return LeftOutWhy::kActive;
  // Nothing travels down a line at 0 Hz, so a DC point says nothing of it either.
  if (!finite || !(r.mhz > 0) || !(std::abs(r.open - r.shorted) > kNoInformation * std::abs(r.open + r.shorted)))
    return LeftOutWhy::kNoInformation;
  return std::nullopt;
}

double Nearest(double base, double expected) {
  return base + kHalfWave * std::max(0.0, std::round((expected - base) / kHalfWave));
}

// Each point's electrical length βℓ is known only modulo half a wave: `bases` holds it in
// [0, π), one for each of `points`.

// d(βℓ)/dω over the sweep, each step unwrapped to the nearest of what the slope so far
// predicts: right whenever neighbouring points are less than a quarter wave apart.
double LengthSlope(const std::vector<MeasuredPoint>& points, const std::vector<double>& bases) {
  const double lowest = AngularFrequency(points.front().mhz);
  double length = bases.front(), slope = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    const double expected = length + slope * AngularFrequency(points[i].mhz - points[i - 1].mhz);
    length = bases[i] + kHalfWave * std::round((expected - bases[i]) / kHalfWave);
    slope = (length - bases.front()) / (AngularFrequency(points[i].mhz) - lowest);
  }
  return slope;
}

// The whole half waves below the lowest point. βℓ is close to ω times its slope, so the slope
// says how long the line is there; when the two disagree by more than an eighth of a wave the
// steps hid half waves (or there is only one point) and the line is taken to be shorter than
// half a wave.
double HalfWavesAtLowest(const std::vector<MeasuredPoint>& points, const std::vector<double>& bases, double metres,
                         std::optional<double> vfGuess) {
  const double omega = AngularFrequency(points.front().mhz), base = bases.front();
  if (vfGuess) return Nearest(base, omega * metres / (*vfGuess * kLight)) - base;
  if (points.size() < 2) return 0;
  const double fromSlope = omega * LengthSlope(points, bases);
  const double length = Nearest(base, fromSlope);
  return std::fabs(length - fromSlope) <= kQuarterWave / 2 ? length - base : 0;
}

// The velocity factor at each point, βℓ followed up the sweep from the lowest point: the whole
// half waves at each point are the ones that put it nearest to what the point below predicts,
// since βℓ grows in proportion to the frequency on a line of steady velocity factor. None
// anywhere when one comes out above 1, which only a wrong count of half waves gives.
void SetVelocityFactors(CableMeasurement& m, const std::vector<double>& bases, double metres,
                        std::optional<double> vfGuess) {
  std::vector<MeasuredPoint>& points = m.points;
  if (points.empty()) return;
  double length = bases.front() + HalfWavesAtLowest(points, bases, metres, vfGuess);
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0) {
      const double last = length;
      length = Nearest(bases[i], last * points[i].mhz / points[i - 1].mhz);
      if (std::fabs(length - last) > kQuarterWave && !m.tooCoarseAtMhz) m.tooCoarseAtMhz = points[i].mhz;
    }
    const double vf = AngularFrequency(points[i].mhz) * metres / (length * kLight);
    if (!(vf > 0 && vf <= 1)) {
      m.velocityFactorUnresolved = true;
      for (MeasuredPoint& p : points) p.velocityFactor.reset();
      return;
    }
    points[i].velocityFactor = vf;
  }
}

std::vector<fit::LossPoint> FitPoints(const std::vector<MeasuredPoint>& points) {
  std::vector<fit::LossPoint> fitPoints;
  fitPoints.reserve(points.size());
  for (const MeasuredPoint& p : points)
    if (p.lossDbPer100Ft > 0 && std::isfinite(p.lossDbPer100Ft)) fitPoints.push_back({p.mhz, p.lossDbPer100Ft});
  return fitPoints;
}

}  // namespace

CableMeasurement MeasureOpenShort(const std::vector<OpenShortReading>& readings, double metres,
                                  std::optional<double> vfGuess) {
  CableMeasurement m;
  std::vector<double> bases;
  // Room for every point at once: grown step by step, a million points would be copied and held twice.
  m.points.reserve(readings.size());
  bases.reserve(readings.size());
  for (size_t i = 0; i < readings.size(); ++i) {
    const OpenShortReading& r = readings[i];
    if (const auto why = Unusable(r)) {
      m.leftOut.push_back({i, *why});
      continue;
    }
    // tanh γℓ, the root on the side of a line that loses power; γℓ = atanh of it.
    const Impedance t = PositiveRealRoot(r.shorted / r.open);
    const Impedance gammaL = 0.5 * std::log((1.0 + t) / (1.0 - t));
    MeasuredPoint p = LossPoint(r.mhz, gammaL.real(), metres);
    p.z0 = PositiveRealRoot(r.open * r.shorted);
    m.points.push_back(p);
    bases.push_back(gammaL.imag() - kHalfWave * std::floor(gammaL.imag() / kHalfWave));
  }
  SetVelocityFactors(m, bases, metres, vfGuess);
  return m;
}

CableMeasurement MeasureReturnLoss(const std::vector<ReflectionReading>& readings, double metres) {
  CableMeasurement m;
  m.points.reserve(readings.size());
  for (size_t i = 0; i < readings.size(); ++i) {
    const double magnitude = readings[i].magnitude;
    if (magnitude > 1) m.leftOut.push_back({i, LeftOutWhy::kActive});
    else if (!(magnitude > 0)) m.leftOut.push_back({i, LeftOutWhy::kNoInformation});
    else m.points.push_back(LossPoint(readings[i].mhz, -std::log(magnitude) / 2, metres));
  }
  return m;
}

MatchedLossFit FitMatchedLoss(const std::vector<MeasuredPoint>& points) {
  const std::vector<fit::LossPoint> fitPoints = FitPoints(points);
  const fit::Coefficients k = fit::FitCoefficients(fitPoints);
  return {k, fit::MeasureFit(k, fitPoints).worstRelative};
}

double WorstRelativeError(const fit::Coefficients& k, const std::vector<MeasuredPoint>& points) {
  return fit::MeasureFit(k, FitPoints(points)).worstRelative;
}

}  // namespace ferrolux
