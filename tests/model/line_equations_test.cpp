#include "model/line_equations.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ferrolux {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Loss ratios and SWRs chosen so that every step is a simple fraction, worked on paper:
//   a = 2, S = 1.5: |Γs| = 0.5 / 2.5 = 0.2, |Γa| = 0.4, SWR = 1.4 / 0.6 = 7/3,
//     Q = (4 - 0.16) / (2 * 0.84) = 16/7, total 10 log10(16/7) = 3.590219 dB, matched
//     10 log10 2 = 3.010300 dB, 100 W * 7/16 = 43.75 W out, return losses -20 log10 0.2 and 0.4.
//   a = 1.25, S = 3: |Γs| = 0.5, |Γa| = 0.625, SWR = 1.625 / 0.375 = 13/3,
//     Q = (1.5625 - 0.390625) / (1.25 * 0.609375) = 20/13, 100 W * 13/20 = 65 W out.
TEST(SolveLine, MatchesFiguresWorkedByHand) {
  struct Case {
    double a, swr;
    double antennaReflection, antennaSwr, totalLossDb, swrLossDb, powerOutW, lostPct, shackRlDb, antennaRlDb;
  };
  const Case cases[] = {
      {2, 1.5, 0.4, 7.0 / 3, 3.590219, 0.579919, 43.75, 56.25, 13.979400, 7.958800},
      {1.25, 3, 0.625, 13.0 / 3, 1.870866, 0.901766, 65, 35, 6.020600, 4.082400},
  };
  for (const Case& c : cases) {
    const LineSolution s = SolveLine(c.a, c.swr, 100);
    ASSERT_TRUE(s.figures) << c.a;
    const LineFigures& f = *s.figures;
    EXPECT_NEAR(f.antennaReflection, c.antennaReflection, 1e-12) << c.a;
    EXPECT_NEAR(f.antennaSwr, c.antennaSwr, 1e-12) << c.a;
    EXPECT_NEAR(f.totalLossDb, c.totalLossDb, 1e-6) << c.a;
    EXPECT_NEAR(f.swrLossDb, c.swrLossDb, 1e-6) << c.a;
    EXPECT_NEAR(f.powerOutW, c.powerOutW, 1e-9) << c.a;
    EXPECT_NEAR(f.powerLostPct, c.lostPct, 1e-9) << c.a;
    EXPECT_NEAR(f.shackReturnLossDb, c.shackRlDb, 1e-6) << c.a;
    EXPECT_NEAR(f.antennaReturnLossDb, c.antennaRlDb, 1e-6) << c.a;
  }
}

TEST(SolveLine, Identities) {
  // No line: the antenna sees the shack's SWR and nothing is lost.
  for (double swr : {1.0, 1.5, 3.0, 20.0}) {
    const LineFigures f = *SolveLine(LossRatio(0), swr, 100).figures;
    EXPECT_NEAR(f.antennaSwr, swr, 1e-12 * swr);
    EXPECT_DOUBLE_EQ(f.totalLossDb, 0);
    EXPECT_DOUBLE_EQ(f.powerOutW, 100);
  }
  // A mismatch never makes the loss smaller than the matched loss.
  for (double db : {0.1, 1.0, 3.0, 10.0})
    for (double swr : {1.0, 1.01, 1.5, 2.0, 3.0}) {
      const LineSolution s = SolveLine(LossRatio(db), swr, 100);
      if (!s.figures) continue;
      EXPECT_GE(s.figures->totalLossDb, db - 1e-12) << db << " dB at " << swr;
      EXPECT_GE(s.figures->swrLossDb, -1e-12) << db << " dB at " << swr;
    }
  // A perfect match has no return loss to speak of.
  EXPECT_EQ(SolveLine(2, 1, 100).figures->shackReturnLossDb, kInfinity);
}

TEST(SolveLine, NoLoadGivesAReadingAtOrPastTheHighestTheLineCanShow) {
  struct Case {
    double a, swr;
    bool possible;
  };
  // a = 2 shows at most (2 + 1) / (2 - 1) = 3 in the shack: |Γs| = 0.5, |Γa| = exactly 1.
  const Case cases[] = {{2, 2.999, true}, {2, 3, false}, {2, 7, false}, {1.25, 8.99, true}, {1.25, 9, false}};
  for (const Case& c : cases) {
    const LineSolution s = SolveLine(c.a, c.swr, 100);
    EXPECT_EQ(s.figures.has_value(), c.possible) << c.a << " at " << c.swr;
  }
  EXPECT_DOUBLE_EQ(SolveLine(2, 7, 100).highestShackSwr, 3);
  EXPECT_DOUBLE_EQ(HighestShackSwr(1.25), 9);
  EXPECT_EQ(HighestShackSwr(1), kInfinity);
}

// The fault: 0.5:1 gave a negative reflection, so the line read better than a match.
TEST(SolveLine, AnSwrBelowOneReadAsANegativeReflection) {
  const LineFigures below = *SolveLine(1.5, 0.5, 100).figures;
  const LineFigures inverse = *SolveLine(1.5, 2, 100).figures;
  EXPECT_DOUBLE_EQ(below.antennaSwr, inverse.antennaSwr);
  EXPECT_DOUBLE_EQ(below.totalLossDb, inverse.totalLossDb);
}

}  // namespace
}  // namespace ferrolux
