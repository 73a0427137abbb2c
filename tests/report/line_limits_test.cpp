#include "report/line_limits.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ferrolux {
namespace {

CatalogRow Part(const std::string& partNumber, const std::string& conductor = "bare copper") {
  CatalogRow row;
  row[column::kPartNumber] = partNumber;
  row[column::kCenterConductor] = conductor;
  return row;
}

const CatalogRow kRg58 = Part("Belden 8259");                                                     // 1 to 1000 MHz
const CatalogRow kLmr400 = Part("Times LMR-400", "2.74 mm solid copper-clad aluminum");           // 30 to 900 MHz
const CatalogRow kRg174 = Part("Belden 8216", "26 AWG 7x34 copper-covered steel");                // 1 to 1000 MHz
const CatalogRow kOwn = Part("My own coax", "CCS");                                               // no points known
const CatalogRow kRg400 = Part("Harbour M17/128-RG400", "1.0 mm stranded silver-plated copper");  // 100 to 1000 MHz
const CatalogRow kRg8x = Part("Belden 9258");                                                     // 1 to 1000 MHz

TEST(LineLimitLines, SayWhereFiguresLeaveThePublishedPointsOrAPlatedCoreLosesMore) {
  struct Case {
    std::vector<const CatalogRow*> cables;
    double from, to;
    std::vector<std::string> lines;
  };
  const std::string rg58Beyond = "Extrapolated: Belden 8259's loss is fitted to published points from 1 to 1000 MHz.";
  const Case cases[] = {
      {{&kRg58}, 14, 14, {}},
      {{&kRg58}, 1, 1000, {}},  // the published points themselves
      {{&kRg58}, 2400, 2400, {rg58Beyond}},
      {{&kRg58}, 0.5, 30, {rg58Beyond}},
      {{&kOwn}, 5, 5000, {}},  // a cable of the user's own: nothing known to be beyond
      {{&kOwn},
       4.99,
       4.99,
       {"Below 5 MHz the loss can exceed the fit: the centre conductor of My own coax is copper-clad steel or "
        "aluminium."}},
      {{&kRg174}, 5, 1000, {}},
      {{&kLmr400},
       1.8,
       1.8,
       {"Extrapolated: Times LMR-400's loss is fitted to published points from 30 to 900 MHz.",
        "Below 5 MHz the loss can exceed the fit: the centre conductor of Times LMR-400 is copper-clad steel or "
        "aluminium."}},
      {{&kRg58, &kLmr400, &kRg400},
       10,
       1000,
       {"Extrapolated: the loss is fitted to published points of Times LMR-400 from 30 to 900 MHz and Harbour "
        "M17/128-RG400 from 100 to 1000 MHz."}},
      {{&kLmr400, &kRg400, &kRg8x, &kRg174, &kRg58},
       2400,
       2400,
       {"Extrapolated: 5 of the 5 cables have their loss fitted to published points that do not reach 2400 MHz."}},
      {{&kLmr400, &kRg174, &kOwn, &kRg8x, &kRg58, &kRg400},
       3,
       3,
       {"Extrapolated: the loss is fitted to published points of Times LMR-400 from 30 to 900 MHz and Harbour "
        "M17/128-RG400 from 100 to 1000 MHz.",
        "Below 5 MHz the loss can exceed the fit: the centre conductor of Times LMR-400, Belden 8216 and My own coax "
        "is copper-clad steel or aluminium."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
    EXPECT_EQ(LineLimitLines(c.cables, c.from, c.to), c.lines);
  }
}

// A path that lays one cable twice named it twice ("Times LMR-400 ... and Times LMR-400 ...") and
// counted it twice in "N of the M cables".
TEST(LineLimitLines, ACableLaidTwiceWasNamedAndCountedTwice) {
  const struct {
    std::vector<const CatalogRow*> cables;
    double mhz;
    std::vector<std::string> lines;
  } cases[] = {
      {{&kLmr400, &kRg58, &kLmr400},
       950,
       {"Extrapolated: the loss is fitted to published points of Times LMR-400 from 30 to 900 MHz."}},
      {{&kLmr400, &kLmr400},
       3,
       {"Extrapolated: Times LMR-400's loss is fitted to published points from 30 to 900 MHz.",
        "Below 5 MHz the loss can exceed the fit: the centre conductor of Times LMR-400 is copper-clad steel or "
        "aluminium."}},
      {{&kLmr400, &kRg400, &kLmr400, &kRg400, &kLmr400, &kRg8x, &kRg174, &kRg58},
       2400,
       {"Extrapolated: 5 of the 5 cables have their loss fitted to published points that do not reach 2400 MHz."}},
      {{&kRg174, &kOwn, &kRg174, &kOwn, &kLmr400, &kRg174, &kOwn, &kRg58, &kRg400, &kRg8x},
       4,
       {"Extrapolated: the loss is fitted to published points of Times LMR-400 from 30 to 900 MHz and Harbour "
        "M17/128-RG400 from 100 to 1000 MHz.",
        "Below 5 MHz the loss can exceed the fit: the centre conductor of Belden 8216, My own coax and Times LMR-400 "
        "is copper-clad steel or aluminium."}},
  };
  for (const auto& c : cases) EXPECT_EQ(LineLimitLines(c.cables, c.mhz, c.mhz), c.lines);
}

TEST(CladCentreConductor, ReadsTheCatalogsWordsForSteelAndAluminium) {
  for (const char* clad : {"26 AWG 7x34 copper-covered steel", "2.74 mm solid copper-clad aluminum",
                           "Copper Clad Aluminium", "0.8 mm CCS", "CCA, 1 mm", "Steel"})
    EXPECT_TRUE(CladCentreConductor(clad)) << clad;
  for (const char* copper :
       {"", "2.9 mm stranded copper (19x0.59 mm)", "13 AWG 7x21 bare copper", "Steelhead copper", "Occam copper"})
    EXPECT_FALSE(CladCentreConductor(copper)) << copper;
}

}  // namespace
}  // namespace ferrolux
