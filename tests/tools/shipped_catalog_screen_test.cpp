// Every cable of the shipped catalog on the real results screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/cycle_screen.hpp"
#include "app/main_screen.hpp"
#include "app/results_screen.hpp"
#include "console/keys.hpp"
#include "tools/shipped_catalog.hpp"

namespace ferrolux::fit {
namespace {

constexpr char32_t kFrameSide = U'║';

class ShippedCatalogScreenTest : public CycleScreenTest {
 public:
  ShippedCatalog shipped;

  void SetUp() override {
    CycleScreenTest::SetUp();
    state.catalog = shipped.catalog;
    state.recordCount = shipped.count;
    state.lengthFt = 100, state.powerW = 100, state.shackSwr = 1.5f, state.freqMHz = 14.2f;
  }
  // Home, then Down to the item, then Enter.
  void Pick(int item) {
    h.keyboard.Key(keys::kHome);
    for (int i = 1; i < item; ++i) h.keyboard.Key(keys::kDown);
    h.keyboard.Key(keys::kEnter);
  }
  // The type list is in descending byte order; the part list keeps the catalog's order.
  void PickRecord(int record) {
    std::vector<std::string> types;
    for (int r = 1; r <= state.recordCount; ++r) types.push_back(state.catalog[r][column::kType]);
    std::sort(types.begin(), types.end(), std::greater<>());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    const std::string& type = state.catalog[record][column::kType];
    Pick(static_cast<int>(std::find(types.begin(), types.end(), type) - types.begin()) + 1);
    int part = 0;
    for (int r = 1; r <= record; ++r) part += state.catalog[r][column::kType] == type;
    Pick(part);
  }
  bool Blank(int row) const { return Text(row, main_screen::kWorkLeft, main_screen::kWorkWidth).empty(); }
};

TEST_F(ShippedCatalogScreenTest, EveryCableShowsItsBlockFiguresAndTextsInsideTheFrame) {
  ASSERT_GT(state.recordCount, 0);
  for (int r = 1; r <= state.recordCount; ++r) {
    const CatalogRow& cable = state.catalog[r];
    SCOPED_TRACE(cable[column::kPartNumber]);
    ClearWorkArea(h.console);
    PickRecord(r);
    CycleLists lists;
    ChooseCableAndShowResults(h.console, state, lists);
    ASSERT_EQ(h.keyboard.Pending(), 0u);
    EXPECT_EQ(Text(5, 5, 18 + cable[column::kType].size()), "      Cable Type: " + cable[column::kType]);
    EXPECT_TRUE(Blank(9)) << "row 8 wrapped: " << Text(9, 2, 117);
    EXPECT_EQ(Text(11, 5, 18), "       Frequency:");
    for (int row = main_screen::kWorkTop; row <= main_screen::kWorkBottom; ++row)
      EXPECT_EQ(Screen().At(row, main_screen::kFrameRight).glyph, kFrameSide) << "row " << row;
    EXPECT_TRUE(Blank(main_screen::kWorkBottom)) << "the texts ran down to the frame";
  }
}

}  // namespace
}  // namespace ferrolux::fit
