#include "model/loss.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/printed_digits.hpp"

namespace ferrolux {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// The worked cable: 2.6 dB per 100 ft at 100 MHz.
LossFigures WorkedCable(float lengthFt, float powerW, float shackSwr) {
  return ComputeLosses(0.5f, 0.2f, 0.001f, 100, lengthFt, powerW, shackSwr);
}

// A cable whose loss does not depend on frequency: 100 ft of it lose `matchLoss` dB.
LossFigures FlatCable(float matchLoss, float powerW, float shackSwr) {
  return ComputeLosses(matchLoss, 0, 0, 14.2f, 100, powerW, shackSwr);
}

float UnitsInTheLastPlace(float value, int count) { return count * (std::nextafter(value, kInfinity) - value); }

// The loss in dB that one unit in the last place of a stored power ratio stands for.
double DecibelsOfOneUnitOfRatio(float lossRatio) {
  return 10 * std::log10(std::nextafter(lossRatio, kInfinity) / lossRatio);
}

TEST(ComputeLosses, ReproducesTheWorkedExampleToEveryPrintedDigit) {
  const LossFigures figures = WorkedCable(50, 100, 1.1f);
  struct Case {
    const char* field;
    float actual;
    const char* expected;
  };
  const Case cases[] = {
      {"StdMatchLoss", figures.stdMatchLoss, "2.6"},
      {"MatchLoss", figures.matchLoss, "1.3"},
      {"RealSwr", figures.realSwr, "1.1"},
      {"Reflection", figures.reflection, "0.047619"},
      {"LossRatio", figures.lossRatio, "1.348963"},
      {"TotalLoss", figures.totalLoss, "1.304444"},
      {"SwrLoss", figures.swrLoss, "0.004444"},
      {"PowerOut", figures.powerOut, "74.0552"},
      {"PowerLossPct", figures.powerLossPct, "25.9448"},
  };
  for (const Case& c : cases) EXPECT_TRUE(AgreesToPrintedDigits(c.actual, c.expected)) << c.field;
  EXPECT_EQ(figures.realSwr, 1.1f);
}

TEST(ComputeLosses, AddsNoMismatchLossAtAnSwrOfExactlyOne) {
  for (const float lengthFt : {1.0f, 50.0f, 333.0f, 1000.0f}) {
    const LossFigures figures = WorkedCable(lengthFt, 100, 1);
    EXPECT_EQ(figures.realSwr, 1.0f);
    EXPECT_EQ(figures.reflection, 0.0f);
    // The stored loss ratio carries the only rounding that matters here.
    const double roundingOfRatio = DecibelsOfOneUnitOfRatio(figures.lossRatio);
    EXPECT_NEAR(figures.totalLoss, figures.matchLoss, roundingOfRatio) << lengthFt;
    EXPECT_GE(figures.swrLoss, 0.0f) << lengthFt;
    EXPECT_LE(figures.swrLoss, roundingOfRatio) << lengthFt;
  }
}

TEST(ComputeLosses, LosesNothingOnAZeroLengthWhateverTheSwr) {
  for (const float swr : {0.5f, 1.0f, 1.25f, 2.2f, 5.5f, 6.0f}) {
    const LossFigures figures = WorkedCable(0, 100, swr);
    EXPECT_EQ(figures.matchLoss, 0.0f) << swr;
    EXPECT_EQ(figures.lossRatio, 1.0f) << swr;
    EXPECT_EQ(figures.totalLoss, 0.0f) << swr;
    EXPECT_EQ(figures.swrLoss, 0.0f) << swr;
    EXPECT_EQ(figures.powerOut, 100.0f) << swr;
    EXPECT_EQ(figures.powerLossPct, 0.0f) << swr;
  }
}

TEST(ComputeLosses, ScalesTheMatchedLossByLengthOnly) {
  const float perHundredFeet = WorkedCable(100, 100, 1.5f).stdMatchLoss;
  for (const float lengthFt : {1.0f, 37.5f, 250.0f, 4000.0f}) {
    const LossFigures figures = WorkedCable(lengthFt, 100, 1.5f);
    EXPECT_EQ(figures.stdMatchLoss, perHundredFeet) << lengthFt;
    const float expected = perHundredFeet * lengthFt / 100;
    EXPECT_NEAR(figures.matchLoss, expected, UnitsInTheLastPlace(expected, 2)) << lengthFt;
  }
}

TEST(ComputeLosses, PassesAnSwrBelowOneThroughWithANegativeReflection) {
  for (const float swr : {0.1f, 0.5f, 0.9f}) {
    const LossFigures figures = WorkedCable(50, 100, swr);
    EXPECT_EQ(figures.realSwr, swr);
    EXPECT_LT(figures.reflection, 0.0f) << swr;
    EXPECT_TRUE(std::isfinite(figures.totalLoss)) << swr;
    EXPECT_GT(figures.swrLoss, 0.0f) << swr;
    EXPECT_TRUE(std::isfinite(figures.powerLossPct)) << swr;
  }
}

TEST(ComputeLosses, RunsANegativeLengthThroughUnchecked) {
  const LossFigures figures = WorkedCable(-50, 100, 1.1f);
  EXPECT_LT(figures.matchLoss, 0.0f);
  EXPECT_LT(figures.lossRatio, 1.0f);
  EXPECT_LT(figures.totalLoss, figures.matchLoss) << "only the SWR loss is clamped";
  EXPECT_EQ(figures.swrLoss, 0.0f);
  EXPECT_GT(figures.powerOut, 100.0f);
  EXPECT_LT(figures.powerLossPct, 0.0f);
}

TEST(ComputeLosses, LosesTheSameShareOfANegativePower) {
  const LossFigures positive = WorkedCable(50, 100, 1.5f);
  const LossFigures negative = WorkedCable(50, -100, 1.5f);
  EXPECT_EQ(negative.powerOut, -positive.powerOut);
  EXPECT_EQ(negative.powerLossPct, positive.powerLossPct);
}

TEST(ComputeLosses, ReportsNoLossWhenTheMismatchTermHasNoLogarithm) {
  struct Case {
    const char* behaviour;
    float lengthFt;
    float shackSwr;
  };
  const Case cases[] = {
      {"real SWR of 0 divides a positive number by zero", 50, 6.5f},
      {"real SWR of 0 at the top of the accepted range", 50, 7},
      {"zero length with a real SWR of 0 divides zero by zero", 0, 7},
  };
  for (const Case& c : cases) {
    const LossFigures figures = WorkedCable(c.lengthFt, 100, c.shackSwr);
    EXPECT_EQ(figures.totalLoss, 0.0f) << c.behaviour;
    EXPECT_EQ(figures.swrLoss, 0.0f) << c.behaviour;
    EXPECT_EQ(figures.powerOut, 100.0f) << c.behaviour;
    EXPECT_EQ(figures.powerLossPct, 0.0f) << c.behaviour;
  }
}

TEST(ComputeLosses, ReportsNoTotalLossWhenTheLossRatioUnderflowsToZero) {
  const LossFigures figures = WorkedCable(-100000, 100, 1.5f);
  EXPECT_EQ(figures.lossRatio, 0.0f);
  EXPECT_EQ(figures.totalLoss, 0.0f);
  EXPECT_EQ(figures.swrLoss, -figures.matchLoss) << "a negative matched loss leaves its excess";
  EXPECT_EQ(figures.powerOut, 100.0f);
  EXPECT_EQ(figures.powerLossPct, 0.0f);
}

TEST(ComputeLosses, GivesTheShareAnyPowerWouldLoseWhenThePowerIsZero) {
  for (const float lengthFt : {0.0f, 50.0f, 1000.0f}) {
    const LossFigures withPower = WorkedCable(lengthFt, 100, 1.5f);
    const LossFigures withoutPower = WorkedCable(lengthFt, 0, 1.5f);
    EXPECT_EQ(withoutPower.powerOut, 0.0f) << lengthFt;
    EXPECT_EQ(withoutPower.totalLoss, withPower.totalLoss) << lengthFt;
    EXPECT_NEAR(withoutPower.powerLossPct, withPower.powerLossPct, 1e-4) << lengthFt;
  }
  EXPECT_TRUE(AgreesToPrintedDigits(WorkedCable(50, 0, 1.1f).powerLossPct, "25.9448"));
}

TEST(ComputeLosses, KeepsTheMatchedLossWhenTheLossRatioOverflows) {
  for (const float powerW : {100.0f, 0.0f}) {
    for (const float swr : {1.0f, 1.5f, 6.5f}) {
      const LossFigures figures = WorkedCable(100000, powerW, swr);
      EXPECT_EQ(figures.lossRatio, kInfinity);
      EXPECT_EQ(figures.totalLoss, figures.matchLoss) << swr;
      EXPECT_EQ(figures.swrLoss, 0.0f) << swr;
      EXPECT_EQ(figures.powerOut, 0.0f) << swr;
      EXPECT_EQ(figures.powerLossPct, 100.0f) << swr;
    }
  }
}

TEST(ComputeLosses, KeepsTheMismatchTermJustShortOfTheOverflow) {
  const LossFigures figures = FlatCable(380, 100, 1.5f);
  EXPECT_TRUE(std::isfinite(figures.lossRatio));
  EXPECT_GT(figures.swrLoss, 0.0f);
  EXPECT_EQ(figures.powerLossPct, 100.0f);
}

// Every figure stays finite and physical across the SWRs and losses a user can reach.
TEST(ComputeLosses, StaysPhysicalAcrossSwrAndMatchedLoss) {
  for (int swrStep = 10; swrStep <= 600; ++swrStep) {
    const float swr = static_cast<float>(swrStep / 100.0);
    for (int lossStep = 0; lossStep <= 120; ++lossStep) {
      const float matchLoss = static_cast<float>(lossStep / 4.0);
      for (const float powerW : {0.001f, 100.0f, 1500.0f}) {
        const LossFigures f = FlatCable(matchLoss, powerW, swr);
        const float fields[] = {f.stdMatchLoss, f.matchLoss, f.realSwr,  f.reflection,  f.lossRatio,
                                f.totalLoss,    f.swrLoss,   f.powerOut, f.powerLossPct};
        for (const float field : fields) ASSERT_TRUE(std::isfinite(field)) << swr << " " << matchLoss;
        ASSERT_GE(f.swrLoss, 0.0f) << swr << " " << matchLoss;
        ASSERT_GE(f.totalLoss, f.matchLoss - 1e-5f) << swr << " " << matchLoss;
        ASSERT_LE(f.powerOut, powerW) << swr << " " << matchLoss;
      }
    }
  }
}

TEST(SafeLn, TakesTheLogarithmOfPositiveFiniteNumbersOnly) {
  constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
  constexpr long double kHuge = std::numeric_limits<long double>::infinity();
  struct Case {
    long double x;
    long double expected;
  };
  const Case cases[] = {{1, 0},   {100, std::log(100.0L)}, {0, 0}, {-0.0L, 0}, {-3, 0}, {kHuge, 0}, {-kHuge, 0},
                        {kNaN, 0}};
  for (const Case& c : cases) EXPECT_EQ(SafeLn(c.x), c.expected) << static_cast<double>(c.x);
}

}  // namespace
}  // namespace ferrolux
