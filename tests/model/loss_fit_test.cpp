#include "model/loss_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace ferrolux::fit {
namespace {

const double kFrequencies[] = {1, 3.5, 10, 30, 50, 146, 440, 1000};

std::vector<LossPoint> PointsOf(const Coefficients& k) {
  std::vector<LossPoint> points;
  for (double f : kFrequencies) points.push_back({f, LossAt(k, f)});
  return points;
}

// d/dk_j of the sum of squared relative errors; at the constrained optimum it is 0 for every
// term in use and not negative for a term held at 0.
Coefficients Gradient(const Coefficients& k, const std::vector<LossPoint>& points) {
  Coefficients g;
  for (const LossPoint& p : points) {
    const double r = 2 * (LossAt(k, p.mhz) / p.loss - 1) / p.loss;
    g.k0 += r, g.k1 += r * std::sqrt(p.mhz), g.k2 += r * p.mhz;
  }
  return g;
}

// A term in use has no slope left; a term held at 0 would only get worse by growing.
void ExpectOptimalTerm(const char* name, double k, double gradient, bool heldAtZero) {
  SCOPED_TRACE(name);
  if (heldAtZero) {
    EXPECT_EQ(k, 0.0);
    EXPECT_GE(gradient, 0);
  } else {
    EXPECT_GT(k, 0);
    EXPECT_NEAR(gradient, 0, 1e-9);
  }
}

// A term the points do not need comes out exactly 0, not merely near it.
TEST(FitCoefficientsTest, RecoversTheCoefficientsThatMadeThePoints) {
  for (const Coefficients made : {Coefficients{0.05, 0.12, 0.0004}, Coefficients{0, 0.2, 0.001}}) {
    const Coefficients k = FitCoefficients(PointsOf(made));
    if (made.k0 == 0) {
      EXPECT_EQ(k.k0, 0.0);
    }
    EXPECT_NEAR(k.k0, made.k0, 1e-12);
    EXPECT_NEAR(k.k1, made.k1, 1e-12);
    EXPECT_NEAR(k.k2, made.k2, 1e-14);
  }
}

TEST(FitCoefficientsTest, ATermThatWouldGoNegativeIsHeldAtZeroAndTheRestAreOptimal) {
  struct Case {
    const char* name;
    Coefficients made;  // points from these, with one term below 0
    bool zeroK0, zeroK1, zeroK2;
  };
  const Case cases[] = {
      {"negative constant: k0 = 0", {-0.05, 0.2, 0.001}, true, false, false},
      {"negative linear term: k2 = 0", {0.2, 0.3, -0.0002}, false, false, true},
      {"negative root term: k1 = 0", {0.5, -0.01, 0.01}, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto points = PointsOf(c.made);
    const Coefficients k = FitCoefficients(points);
    const Coefficients g = Gradient(k, points);
    ExpectOptimalTerm("k0", k.k0, g.k0, c.zeroK0);
    ExpectOptimalTerm("k1", k.k1, g.k1, c.zeroK1);
    ExpectOptimalTerm("k2", k.k2, g.k2, c.zeroK2);
  }
}

TEST(FitCoefficientsTest, PointsAtOneFrequencyStillGetTheirLoss) {
  const Coefficients k = FitCoefficients({{100, 2}, {100, 2}, {100, 2}});
  EXPECT_NEAR(LossAt(k, 100), 2, 1e-12);
}

TEST(FitCoefficientsTest, WeighsRelativeErrorSoTheSmallHfLossesCountAsMuchAsTheLargeOnes) {
  // A published RG-58 table: fitted in dB, the 1 MHz point would be off by 15 %.
  const std::vector<LossPoint> points{{1, 0.4},    {10, 1.5},   {50, 3.7},   {100, 5.4},  {200, 8.1},
                                      {400, 12.4}, {700, 17.7}, {900, 21.1}, {1000, 22.8}};
  const FitError e = MeasureFit(FitCoefficients(points), points);
  EXPECT_LT(e.worstRelative, 0.09);
}

TEST(MeasureFitTest, FindsTheWorstRelativeAndTheWorstAbsolutePoint) {
  const Coefficients k{0, 0, 0.011};  // 0.11 dB at 10 MHz, 4.4 at 400
  const FitError e = MeasureFit(k, {{10, 0.1}, {400, 4.2}});
  EXPECT_NEAR(e.worstRelative, 0.1, 1e-12);
  EXPECT_EQ(e.atRelative.mhz, 10);
  EXPECT_NEAR(e.worstAbsolute, 0.2, 1e-12);
  EXPECT_EQ(e.atAbsolute.mhz, 400);
}

}  // namespace
}  // namespace ferrolux::fit
