#include "cli/compare.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exact_input.hpp"
#include "test_cables.hpp"

namespace ferrolux::cli {
namespace {

std::string Text(const std::vector<CatalogRow>& cables, const std::string& swr, CompareOrder order,
                 const OutputStyle& style) {
  const Settings settings = ReadSettings({"100", "100", swr, "2m", ""});
  std::ostringstream out;
  WriteCompareText(out, CompareCables(cables, settings, order), settings, style);
  return out.str();
}

TEST(CompareText, LowestLossFirstAndAReadingNoLoadCanGiveLast) {
  EXPECT_EQ(Text(TestCables(), "2.5", CompareOrder::kTotal, {}),
            "100 ft at 146 MHz (2m band), 100 watts, SWR 2.5:1 in the shack; 50 Ohm cables\n"
            "dB and watts; Total: line equations; Estimate: the results screen's estimate\n"
            "Type     Part number                        Matched       Total        Exact  Estimate   Out  Lost %\n"
            "LMR-400  Test LMR-400                          1.59        2.81    2.80-2.81      2.86  52.4    47.6\n"
            "RG-8X    Test RG-8X                            3.06        8.25    8.12-8.38      7.24  15.0    85.0\n"
            "RG-174   Test RG-174 long name for cutting    10.14  impossible  not passive         -     -       -  max "
            "1.21:1\n");
}

// An 80-column terminal: part numbers stay whole (--cable takes them); the type gives up cells,
// the columns close up to one blank, and the bar, which repeats Lost %, goes when the table still
// does not fit.
TEST(CompareText, FitsATerminalsWidthKeepingPartNumbersWhole) {
  OutputStyle terminal;
  terminal.terminal = terminal.utf8 = true;
  terminal.columns = 80;
  std::vector<CatalogRow> cables = TestCables();
  cables.resize(2);
  for (CatalogRow& cable : cables) cable[column::kType] += " double-shielded";
  EXPECT_EQ(Text(cables, "1.5", CompareOrder::kName, terminal),
            "100 ft at 146 MHz (2m band), 100 watts, SWR 1.5:1 in the shack; 50 Ohm cables\n"
            "dB and watts; Total: line equations; Estimate: the results screen's estimate\n"
            "Type            Part number  Matched Total     Exact Estimate  Out Lost %\n"
            "LMR-400 double… Test LMR-400    1.59  1.79 1.79-1.80     1.88 66.2   33.8 ███▍\n"
            "RG-8X double-s… Test RG-8X      3.06  3.66 3.64-3.68     3.79 43.0   57.0 █████▊\n");
  const std::string tooWide = Text(TestCables(), "1.5", CompareOrder::kName, terminal);
  EXPECT_NE(tooWide.find("Test RG-174 long name for cutting  "), std::string::npos);
  EXPECT_EQ(tooWide.find("█"), std::string::npos);
}

// By the upper end of the exact range; a reading no passive load gives goes last.
TEST(CompareCables, SortsByTheExactRangesUpperEnd) {
  const Settings settings = ReadSettings({"100", "100", "1.5", "2m", ""});
  const std::vector<CatalogRow> cables = TestCables();
  std::vector<std::string> order;
  for (const ComparedCable& row : CompareCables(cables, settings, CompareOrder::kExact)) order.push_back(row.type);
  EXPECT_EQ(order, (std::vector<std::string>{"LMR-400", "RG-8X", "RG-174"}));
}

// The test cables with a 75 ohm CATV hardline among them.
std::vector<CatalogRow> WithCatv() {
  std::vector<CatalogRow> cables = TestCables();
  cables.push_back(Cable("CATV Hardline\tTest P3 .500\t75\t.87\t\t\t\t\t\t\t\t.00033\t.070738\t.000297569"));
  return cables;
}

std::string TextWith(const std::vector<CatalogRow>& cables, const std::string& swr, const ExactTexts& exact,
                     CompareOrder order = CompareOrder::kTotal) {
  const Settings settings = ReadSettings({"100", "100", swr, "2m", ""});
  const ExactRequest request = ReadExactRequest(exact);
  std::ostringstream out;
  WriteCompareText(out, CompareCables(cables, settings, order, request), settings, {}, request);
  return out.str();
}

// The heading said "SWR 1:1 in the shack" (the default, not what was given), and "none" stood both
// for a reading no passive load gives and for a purely reactive load, which takes no power.
TEST(CompareText, HeadedWithTheDefaultSwrAndNoneForTwoCases) {
  const std::string reactive = TextWith(TestCables(), "1", {"0+j50", "", "", ""});
  EXPECT_TRUE(
      reactive.starts_with("100 ft at 146 MHz (2m band), 100 watts, load 0+j50 Ohms at the antenna; 50 Ohm "
                           "cables\n"))
      << reactive;
  EXPECT_NE(reactive.find("all lost"), std::string::npos) << reactive;
  const std::string active = TextWith(TestCables(), "1", {"", "-5+j20", "50", ""});
  EXPECT_TRUE(
      active.starts_with("100 ft at 146 MHz (2m band), 100 watts, -5+j20 Ohms read in the shack against 50 "
                         "Ohms; 50 Ohm cables\n"))
      << active;
  EXPECT_NE(active.find("not passive"), std::string::npos) << active;
  EXPECT_EQ((reactive + active).find("none"), std::string::npos);
}

// A 75 ohm hardline ranked among 50 ohm cables with nothing to tell it apart; --ohms keeps one kind.
TEST(CompareText, RankedCatvHardlineAmongFiftyOhmCablesWithoutItsImpedance) {
  const std::string text = TextWith(WithCatv(), "1.5", {}, CompareOrder::kName);
  EXPECT_NE(text.find("Type           Part number                        Ohms"), std::string::npos) << text;
  EXPECT_NE(text.find("CATV Hardline  Test P3 .500                         75"), std::string::npos) << text;
  std::vector<std::string> kept;
  for (const CatalogRow& cable : KeepImpedance(WithCatv(), 75)) kept.push_back(cable[column::kPartNumber]);
  EXPECT_EQ(kept, std::vector<std::string>{"Test P3 .500"});
}

// Against a 50 ohm meter the line equations cannot convert the 75 ohm line's reading; the Total
// column showed their figure and the default order ranked by it.
TEST(CompareCables, TotalRankedByLineEquationsThatIgnoredTheMetersReference) {
  const Settings settings = ReadSettings({"100", "100", "1.5", "2m", ""});
  const ExactRequest request = ReadExactRequest({"", "", "50", ""});
  std::vector<std::string> byTotal, byExact;
  for (const ComparedCable& row : CompareCables(WithCatv(), settings, CompareOrder::kTotal, request)) {
    byTotal.push_back(row.partNumber);
    EXPECT_EQ(row.calculation.lineVerdict == LineVerdict::kOtherReference, row.impedanceOhms == 75) << row.partNumber;
  }
  for (const ComparedCable& row : CompareCables(WithCatv(), settings, CompareOrder::kExact, request))
    byExact.push_back(row.partNumber);
  EXPECT_EQ(byTotal, byExact);
  const std::string text = TextWith(WithCatv(), "1.5", {"", "", "50", ""});
  EXPECT_NE(text.find("SWR 1.5:1 against 50 Ohms in the shack"), std::string::npos) << text;
  EXPECT_NE(text.find("- for the others"), std::string::npos) << text;
}

TEST(PercentBar, EighthsOfABlockOrHashes) {
  struct Case {
    double percent;
    bool utf8;
    const char* bar;
  };
  const Case cases[] = {{0, true, ""},  {100, true, "██████████"}, {56.25, true, "█████▋"}, {150, true, "██████████"},
                        {-5, true, ""}, {56.25, false, "######"}};
  for (const Case& c : cases) EXPECT_EQ(PercentBar(c.percent, 10, c.utf8), c.bar) << c.percent;
}

}  // namespace
}  // namespace ferrolux::cli
