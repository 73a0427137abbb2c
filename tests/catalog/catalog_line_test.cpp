#include "catalog/catalog_line.hpp"

#include <gtest/gtest.h>

namespace ferrolux {
namespace {

TEST(CatalogLine, SixteenFieldsBetweenTabsEndedByCrLf) {
  CatalogRow record;
  record[column::kType] = "My RG-213";
  record[column::kPartNumber] = "Roof run";
  record[column::kImpedance] = ImpedanceText(49.6);
  record[column::kVelocityFactor] = VelocityFactorText(0.6649);
  record[column::kK1] = CoefficientText(0.1578234);
  EXPECT_EQ(CatalogLine(record), "My RG-213\tRoof run\t50\t0.66\t\t\t\t\t\t\t\t\t0.157823\t\t\t\r\n");
}

// The catalog writes 0.7 and 0.8, never 0.70.
TEST(CatalogLine, VelocityFactorWithoutTrailingZeros) {
  EXPECT_EQ(VelocityFactorText(0.7), "0.7");
  EXPECT_EQ(VelocityFactorText(0.796), "0.8");
}

}  // namespace
}  // namespace ferrolux
