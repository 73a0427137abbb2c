#include "model/loss.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/printed_digits.hpp"

namespace ferrolux {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(EstimateRealSwr, ReturnsTheMeasuredSwrUnchangedBelowTheFirstBracket) {
  for (const float swr : {1.19f, std::nextafter(1.2f, 0.0f), 1.0f, 0.5f, 0.01f}) {
    for (const float loss : {0.0f, 1.0f, 30.0f, -2.0f}) {
      EXPECT_EQ(EstimateRealSwr(swr, loss), swr) << swr << " at " << loss << " dB";
    }
  }
}

TEST(EstimateRealSwr, GivesTheFirstRowsConstantAtZeroLossAcrossTheFirstBracket) {
  for (const float swr : {1.2f, 1.25f, 1.3f}) {
    EXPECT_EQ(EstimateRealSwr(swr, 0), 1.12839375f) << swr;
  }
}

TEST(EstimateRealSwr, GivesZeroAboveTheLastBracket) {
  for (const float swr : {6.01f, std::nextafter(6.0f, kInfinity), 7.0f}) {
    for (const float loss : {0.0f, 0.5f, 10.0f}) {
      EXPECT_EQ(EstimateRealSwr(swr, loss), 0.0f) << swr << " at " << loss << " dB";
    }
  }
}

TEST(EstimateRealSwr, MatchesThePublishedEstimates) {
  struct Case {
    const char* behaviour;
    float swr;
    float loss;
    const char* expected;
  };
  const Case cases[] = {
      {"row without a square term", 2.2f, 1, "3.315817"},
      {"three and a half shares the coefficients of four and a half", 3.5f, 1, "6.885805"},
      {"four and a half shares the coefficients of three and a half", 4.5f, 1, "6.885805"},
      {"middle of a bracket at a fractional loss", 1.5f, 1.3916348f, "1.98145"},
      {"high-SWR warning territory", 5.5f, 1.1f, "21.14715"},
      {"upper bound of the last bracket", 6, 0.5f, "8.874788"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(AgreesToPrintedDigits(EstimateRealSwr(c.swr, c.loss), c.expected)) << c.behaviour;
  }
}

TEST(EstimateRealSwr, SubtractsTheSquareTermInEveryRow) {
  struct Case {
    float swr;
    double expectedAtTwoDb;
  };
  const Case cases[] = {
      {1.25f, 1.315607178}, {1.35f, 1.63652}, {1.5f, 2.101544065}, {1.7f, 2.655053},  {1.9f, 3.392773},
      {2.2f, 5.469466},     {2.8f, 8.368571}, {3.5f, 18.564453},   {4.5f, 18.564453}, {5.5f, 80.283556},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(EstimateRealSwr(c.swr, 2), c.expectedAtTwoDb, 1e-6 * c.expectedAtTwoDb) << c.swr;
  }
}

TEST(FindBracket, PutsEachBoundInTheRowWhoseUpperBoundItIs) {
  struct Case {
    float bound;
    std::size_t row;  // counted from 1, as the table is written
  };
  const Case cases[] = {{1.3f, 1}, {1.4f, 2}, {1.6f, 3}, {1.8f, 4}, {2, 5}, {2.5f, 6}, {3, 7}, {4, 8}, {5, 9}, {6, 10}};
  for (const Case& c : cases) {
    const std::optional<std::size_t> atBound = FindBracket(c.bound);
    ASSERT_TRUE(atBound.has_value()) << c.bound;
    EXPECT_EQ(*atBound + 1, c.row) << c.bound;
    EXPECT_EQ(BracketTable[*atBound].upper, c.bound);
    const std::optional<std::size_t> justAbove = FindBracket(std::nextafter(c.bound, kInfinity));
    if (c.row == BracketTable.size()) {
      EXPECT_FALSE(justAbove.has_value()) << c.bound;
    } else {
      EXPECT_EQ(justAbove, c.row) << "just above " << c.bound;
    }
  }
}

TEST(FindBracket, IncludesOnlyTheLowestLowerBound) {
  EXPECT_EQ(FindBracket(1.2f), 0u);
  EXPECT_FALSE(FindBracket(std::nextafter(1.2f, 0.0f)).has_value());
  EXPECT_FALSE(FindBracket(std::numeric_limits<float>::quiet_NaN()).has_value());
}

}  // namespace
}  // namespace ferrolux
