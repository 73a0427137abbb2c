#include "model/loss.hpp"

#include <cmath>
#include <limits>

namespace ferrolux {
namespace {

// Stands in for ln 10 and is kept as written: the published figures were made with it.
constexpr double kLn10AsWritten = 2.30258509;

// Halfway between the largest float and 2^128: from here on, rounding to float overflows.
constexpr long double kFloatOverflowAt = 0x1.ffffffp127L;

// Rounds a wide intermediate to the float it is stored as. Out-of-range values become the
// infinity IEEE rounding would give, instead of relying on an out-of-range conversion.
float Stored(long double value) {
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value >= kFloatOverflowAt) return std::numeric_limits<float>::infinity();
  if (value <= -kFloatOverflowAt) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// A quotient that gives the IEEE infinity or NaN for a zero divisor without dividing by zero.
long double Quotient(long double numerator, long double denominator) {
  if (denominator != 0) return numerator / denominator;
  if (numerator == 0 || std::isnan(numerator)) return std::numeric_limits<long double>::quiet_NaN();
  const bool negative = std::signbit(numerator) != std::signbit(denominator);
  return negative ? -std::numeric_limits<long double>::infinity() : std::numeric_limits<long double>::infinity();
}

long double PowerOf10(long double exponent) { return std::pow(10.0L, exponent); }

bool Holds(const SwrBracket& row, float shackSwr) {
  const bool aboveLower = row.lowerIncluded ? shackSwr >= row.lower : shackSwr > row.lower;
  return aboveLower && shackSwr <= row.upper;
}

// The square term is subtracted; the powers are plain products.
long double BracketCubic(const SwrBracket& row, float matchLoss) {
  const long double loss = matchLoss;
  const long double cube = loss * loss * loss;
  const long double square = loss * loss;
  return ((row.c3 * cube - row.c2 * square) + row.c1 * loss) + row.c0;
}

// Loss of a line of matched loss ratio a into a load of reflection coefficient rho.
long double MismatchedLoss(float reflection, float lossRatio) {
  const long double rho = reflection;
  const long double a = lossRatio;
  const long double denominator = (1 - rho * rho) * a;
  const long double numerator = a * a - rho * rho;
  return 10 * SafeLn(Quotient(numerator, denominator)) / kLn10AsWritten;
}

float ClampedAtZero(float value) { return value < 0 ? 0.0f : value; }

// With no power there is nothing to divide by; the line still loses the same share of any power.
long double LostShare(float powerW, float powerOut, float totalLoss) {
  if (powerW == 0) return 100 * (1 - PowerOf10(-totalLoss / 10.0L));
  return 100 * (powerW - static_cast<long double>(powerOut)) / powerW;
}

// Once the loss ratio overflows, the mismatch term is lost in it: the line loses its matched loss.
void SetMismatchFigures(LossFigures& figures) {
  if (std::isinf(figures.lossRatio)) {
    figures.totalLoss = figures.matchLoss;
    figures.swrLoss = 0;
    return;
  }
  figures.totalLoss = Stored(MismatchedLoss(figures.reflection, figures.lossRatio));
  const long double excess = figures.totalLoss - static_cast<long double>(figures.matchLoss);
  figures.swrLoss = ClampedAtZero(Stored(excess));
}

}  // namespace

std::optional<std::size_t> FindBracket(float shackSwr) {
  for (std::size_t index = 0; index < BracketTable.size(); ++index) {
    if (Holds(BracketTable[index], shackSwr)) return index;
  }
  return std::nullopt;
}

float EstimateRealSwr(float shackSwr, float matchLoss) {
  if (shackSwr < BracketTable.front().lower) return shackSwr;
  const std::optional<std::size_t> index = FindBracket(shackSwr);
  if (!index) return 0;
  return Stored(BracketCubic(BracketTable[*index], matchLoss));
}

long double CablePolynomial(long double k0, long double k1, long double k2, long double freqMHz) {
  return (k1 * std::sqrt(freqMHz) + k0) + k2 * freqMHz;
}

long double SafeLn(long double x) { return std::isfinite(x) && x > 0 ? std::log(x) : 0.0L; }

LossFigures ComputeLosses(float k0, float k1, float k2, float freqMHz, float lengthFt, float powerW, float shackSwr) {
  LossFigures figures;
  const long double polynomial = CablePolynomial(k0, k1, k2, freqMHz);
  figures.stdMatchLoss = Stored(polynomial / 100 * 100);
  figures.matchLoss = Stored(polynomial / 100 * lengthFt);
  figures.realSwr = EstimateRealSwr(shackSwr, figures.matchLoss);
  figures.reflection = Stored(Quotient(figures.realSwr - 1.0L, 1.0L + figures.realSwr));
  figures.lossRatio = Stored(PowerOf10(figures.matchLoss / 10.0L));
  SetMismatchFigures(figures);
  figures.powerOut = Stored(PowerOf10(-figures.totalLoss / 10.0L) * powerW);
  figures.powerLossPct = Stored(LostShare(powerW, figures.powerOut, figures.totalLoss));
  return figures;
}

}  // namespace ferrolux
