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

// "LMR400" and "RG8X" as hams write them: blanks, hyphens, dots and slashes and letter case aside;
// a type names its one cable or lists its several; nothing close lists the nearest names.
TEST(FindCable, HamsSpellingOfAPartOrTypeMatchedNothingAndSuggestedNothing) {
  std::vector<CatalogRow> cables = TestCables();
  cables.push_back(Cable("RG-58A/U\tMaker 8259\t50"));
  cables.push_back(Cable("RG-58A/U\tMaker 8219\t50"));
  struct Case {
    const char* name;
    const char* part;  // the cable chosen; none for a usage error
    const char* message;
    std::vector<std::string> details;
  };
  const Case cases[] = {
      {"lmr400", "Test LMR-400", "", {}},
      {"RG8X", "Test RG-8X", "", {}},
      {"rg 174", "Test RG-174 long name for cutting", "", {}},
      {"maker/8259.", "Maker 8259", "", {}},
      {"rg58au",
       nullptr,
       "--cable \"rg58au\" matches 2 cables; give a part number:",
       {"  RG-58A/U, Maker 8259", "  RG-58A/U, Maker 8219"}},
      {"LMR4000", nullptr, "--cable \"LMR4000\" matches no cable; did you mean:", {"  LMR-400"}},
      {"rg-58a/x", nullptr, "--cable \"rg-58a/x\" matches no cable; did you mean:", {"  RG-58A/U", "  RG-8X"}},
      {"heliax", nullptr, "--cable \"heliax\" matches no cable; `ferrolux cables` lists them", {}},
  };
  for (const Case& c : cases) {
    try {
      const CatalogRow& found = FindCable(cables, c.name);
      EXPECT_EQ(found[column::kPartNumber], c.part ? c.part : "(an error)") << c.name;
    } catch (const CommandError& error) {
      EXPECT_EQ(c.part, nullptr) << c.name;
      EXPECT_EQ(error.Status(), kExitUsage);
      EXPECT_STREQ(error.what(), c.message);
      EXPECT_EQ(error.Details(), c.details) << c.name;
    }
  }
}

TEST(SelectCables, HamsSpellingOfATypeOrTextMatchedNothingAndSuggestedNothing) {
  const std::vector<CatalogRow> cables = TestCables();
  EXPECT_EQ(SelectCables(cables, "rg8x", "").size(), 1u);
  EXPECT_EQ(SelectCables(cables, "RG-174/U", "").size(), 1u);  // a type's "/U" written or left out
  EXPECT_EQ(SelectCables(cables, "", "lmr400").size(), 1u);
  EXPECT_EQ(SelectCables(cables, "", "test rg").size(), 2u);
  try {
    SelectCables(cables, "rg8", "");
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_STREQ(error.what(), "--type \"rg8\": no cable of that type; did you mean:");
    EXPECT_EQ(error.Details(), std::vector<std::string>{"  RG-8X"});
  }
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
