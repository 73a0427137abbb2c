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

// The electrical length βℓ modulo half a wave, in [0, π), and the angular frequency it was read at.
struct PrincipalLength {
  double mhz = 0;
  double omega = 0;
  double base = 0;
};

double Nearest(double base, double expected) {
  return base + kHalfWave * std::max(0.0, std::round((expected - base) / kHalfWave));
}

// d(βℓ)/dω over the sweep, each step unwrapped to the nearest of what the slope so far
// predicts: right whenever neighbouring points are less than a quarter wave apart.
double LengthSlope(const std::vector<PrincipalLength>& points) {
  double length = points.front().base, slope = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    const double expected = length + slope * (points[i].omega - points[i - 1].omega);
    length = points[i].base + kHalfWave * std::round((expected - points[i].base) / kHalfWave);
    slope = (length - points.front().base) / (points[i].omega - points.front().omega);
  }
  return slope;
}

// The whole half waves below the lowest point. βℓ is close to ω times its slope, so the slope
// says how long the line is there; when the two disagree by more than an eighth of a wave the
// steps hid half waves (or there is only one point) and the line is taken to be shorter than
// half a wave.
double HalfWavesAtLowest(const std::vector<PrincipalLength>& points, double metres, std::optional<double> vfGuess) {
  const PrincipalLength& lowest = points.front();
  if (vfGuess) return Nearest(lowest.base, lowest.omega * metres / (*vfGuess * kLight)) - lowest.base;
  if (points.size() < 2) return 0;
  const double fromSlope = lowest.omega * LengthSlope(points);
  const double length = Nearest(lowest.base, fromSlope);
  return std::fabs(length - fromSlope) <= kQuarterWave / 2 ? length - lowest.base : 0;
}

// βℓ at the next point up the sweep: the whole half waves there are the ones that put it
// nearest to what the point below predicts, since βℓ grows in proportion to the frequency on a
// line of steady velocity factor.
double NextLength(const PrincipalLength& below, double lengthBelow, const PrincipalLength& next,
                  std::optional<double>& tooCoarseAtMhz) {
  const double length = Nearest(next.base, lengthBelow * next.omega / below.omega);
  if (std::fabs(length - lengthBelow) > kQuarterWave && !tooCoarseAtMhz) tooCoarseAtMhz = next.mhz;
  return length;
}

// The velocity factor at each point; none anywhere when one comes out above 1, which only a
// wrong count of half waves gives.
void SetVelocityFactors(CableMeasurement& m, const std::vector<PrincipalLength>& points, double metres,
                        std::optional<double> vfGuess) {
  if (points.empty()) return;
  double length = points.front().base + HalfWavesAtLowest(points, metres, vfGuess);
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0) length = NextLength(points[i - 1], length, points[i], m.tooCoarseAtMhz);
    const double vf = points[i].omega * metres / (length * kLight);
    if (!(vf > 0 && vf <= 1)) {
      m.velocityFactorUnresolved = true;
      for (MeasuredPoint& p : m.points) p.velocityFactor.reset();
      return;
    }
    m.points[i].velocityFactor = vf;
  }
}

std::vector<fit::LossPoint> FitPoints(const std::vector<MeasuredPoint>& points) {
  std::vector<fit::LossPoint> fitPoints;
  for (const MeasuredPoint& p : points)
    if (p.lossDbPer100Ft > 0 && std::isfinite(p.lossDbPer100Ft)) fitPoints.push_back({p.mhz, p.lossDbPer100Ft});
  return fitPoints;
}

}  // namespace

CableMeasurement MeasureOpenShort(const std::vector<OpenShortReading>& readings, double metres,
                                  std::optional<double> vfGuess) {
  CableMeasurement m;
  std::vector<PrincipalLength> lengths;
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
    lengths.push_back(
        {r.mhz, AngularFrequency(r.mhz), gammaL.imag() - kHalfWave * std::floor(gammaL.imag() / kHalfWave)});
  }
  SetVelocityFactors(m, lengths, metres, vfGuess);
  return m;
}

CableMeasurement MeasureReturnLoss(const std::vector<ReflectionReading>& readings, double metres) {
  CableMeasurement m;
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
