#include "cli/cable_choice.hpp"

#include <gtest/gtest.h>

#include "cli/command_error.hpp"
#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

TEST(FindCable, APartNumberWinsThenTheOneCableContainingTheText) {
  std::vector<CatalogRow> cables = TestCables();
  cables.push_back(Cable("RG-8X\tTest\t50"));
  struct Case {
    const char* name;
    const char* part;
  };
  const Case cases[] = {
      {"test rg-8x", "Test RG-8X"},                          // a part number, letter case aside
      {"TEST", "Test"},                                      // exact beats the four that contain it
      {"lmr", "Test LMR-400"},                               // contained in type and part number
      {"rg-174 test", "Test RG-174 long name for cutting"},  // across type and part number
  };
  for (const Case& c : cases) EXPECT_EQ(FindCable(cables, c.name)[column::kPartNumber], c.part) << c.name;
}

TEST(FindCable, NoneOrSeveralIsAUsageErrorWithTheCandidates) {
  const std::vector<CatalogRow> cables = TestCables();
  try {
    FindCable(cables, "rg-");
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_EQ(error.Status(), kExitUsage);
    EXPECT_STREQ(error.what(), "--cable \"rg-\" matches 2 cables; give a part number:");
    EXPECT_EQ(error.Details(),
              (std::vector<std::string>{"  RG-8X, Test RG-8X", "  RG-174, Test RG-174 long name for cutting"}));
  }
  EXPECT_THROW(FindCable(cables, "heliax"), CommandError);
}

TEST(SelectCables, ByTypeAndByText) {
  const std::vector<CatalogRow> cables = TestCables();
  EXPECT_EQ(SelectCables(cables, "rg-8x", "").size(), 1u);
  EXPECT_EQ(SelectCables(cables, "", "TEST").size(), 3u);
  try {
    SelectCables(cables, "RG-174", "lmr");
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_EQ(error.Status(), kExitUsage);
    EXPECT_STREQ(error.what(), "--type \"RG-174\" and --match \"lmr\": no cable matches both");
  }
}

}  // namespace
}  // namespace ferrolux::cli
