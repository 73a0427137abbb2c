#include "app/results_screen.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/cycle_screen.hpp"
#include "app/program_state.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"
#include "model/loss.hpp"
#include "text/text.hpp"

namespace ferrolux {
namespace {

struct Cable {
  std::string type, part, k0 = ".5", k1 = ".2", k2 = ".001";
  std::string description = "A test cable.", uses = "Tests.";
  std::string dielectric = "Foam PE";
};

class ResultsScreenTest : public CycleScreenTest {
 public:
  CycleLists lists;

  void SetUp() override {
    CycleScreenTest::SetUp();
    state.lengthFt = 50;
    state.powerW = 100;
    state.shackSwr = 1.1f;
    state.freqMHz = 100;
  }
  void Load(const std::vector<Cable>& cables) {
    state.catalog = MakeCatalogTable();
    if (state.catalog.size() < cables.size() + 1) state.catalog.resize(cables.size() + 1);
    int r = 0;
    for (const Cable& c : cables) {
      CatalogRow& row = state.catalog[++r];
      row[column::kType] = c.type;
      row[column::kPartNumber] = c.part;
      row[column::kImpedance] = "50";
      row[column::kVelocityFactor] = ".66";
      row[column::kCenterConductor] = "Solid Cu";
      row[column::kDielectric] = c.dielectric;
      row[column::kShield] = "Braid";
      row[column::kJacket] = "PVC";
      row[column::kDiameter] = "0.405 in";
      row[column::kRms] = "600 V";
      row[column::kK0] = c.k0;
      row[column::kK1] = c.k1;
      row[column::kK2] = c.k2;
      row[column::kDescription] = c.description;
      row[column::kRecommendedUses] = c.uses;
    }
    state.recordCount = r;
    state.catalog[0][1] = " " + std::to_string(r);
  }
  void Run(const std::vector<Key>& keys = {keys::kEnter, keys::kEnter}) {
    h.keyboard.Keys(keys);
    ChooseCableAndShowResults(h.console, state, lists);
    EXPECT_EQ(h.keyboard.Pending(), 0u);
  }
  // A row of the results from column 5 on.
  std::string Line(int row) const { return Text(row, 5, 114); }
};

TEST_F(ResultsScreenTest, TheWorkedExampleShowsItsTenLines) {
  Load({{"RG-8X", "Test 1"}});
  Run();
  EXPECT_EQ(testing::Picture(Screen(), {5, 5, 28, 118}), R"(
      Cable Type: RG-8X, Test 1
       Impedance: 50 Ohms     VF: .66
Center Conductor: Solid Cu
 Dielectric Type: Foam PE   Shield Type: Braid   Jacket Material: PVC   Coaxial Diameter: 0.405 in   RMS: 600 V


       Frequency: 100 MHz
 STD. Match Loss: 2.6 dB 100 ft.
      Match Loss: 1.3 dB @ 50 ft.
 Loss due to SWR: 0 dB
      Total Loss: 1.3 dB
        Power In: 100 watts
       Power Out: 74.06 watts
      Power Loss: 25.94%
    Apparent swr: 1.1:1
        Real SWR: 1.1:1 +-

Description:

A test cable.

Recommended Uses:

Tests.)");
  // The catalog's texts in grey, all else in white.
  EXPECT_EQ(testing::Colours(Screen(), {{'t', {15, 1}}, {'w', {7, 1}}}, {5, 5, 28, 5}),
            testing::Rows({"t", "t", "t", "t", "t", "t", "t", "t", "t", "t", "t", "t",
                           "t", "t", "t", "t", "t", "t", "t", "w", "t", "t", "t", "w"}));
}

// A matched loss at which the estimate for a measured SWR of 2.2 is exactly 20, as text.
std::string LossGivingExactlyTwenty() {
  constexpr float kSwr = 2.2f;
  float low = 0, high = 100;
  for (int i = 0; i < 200; ++i) {
    const float middle = (low + high) / 2;
    (EstimateRealSwr(kSwr, middle) < 20 ? low : high) = middle;
  }
  float loss = low;
  for (int i = 0; i < 100; ++i) loss = std::nextafter(loss, 0.0f);
  for (int i = 0; i < 200; ++i, loss = std::nextafter(loss, 200.0f)) {
    if (EstimateRealSwr(kSwr, loss) != 20.0f) continue;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", loss);
    return text;
  }
  return "";
}

// Rows of the figures block for inputs at its edges: overflowing figures show without their
// sign or as not a number, small ones without a leading zero, and a real SWR of 20 or more or a
// measured one above 6 puts a warning or a notice in place of the figures.
TEST_F(ResultsScreenTest, TheFiguresBlockAtItsEdges) {
  struct Case {
    const char* name;
    std::string k0, k1, k2;
    float lengthFt, shackSwr;
    std::vector<std::pair<int, std::string>> lines;
  };
  const std::string twenty = LossGivingExactlyTwenty();
  ASSERT_EQ(ComputeLosses(std::stof(twenty), 0, 0, 100, 100, 100, 2.2f).realSwr, 20.0f);
  const auto warning = [](const std::string& shown) {
    return std::vector<std::pair<int, std::string>>{{10, "Real SWR is estimated at >20:1 (" + shown + ":1)"},
                                                    {11, "The SWR specific calculations are not reliable when SWR is"},
                                                    {14, "watts out results in less than 2 watts at the antenna."},
                                                    {15, ""},
                                                    {16, "Description:"},
                                                    {18, "A test cable."}};
  };
  const Case cases[] = {
      {"-inf ft",
       ".5",
       ".2",
       ".001",
       -INFINITY,
       1.5f,
       {{13, "      Match Loss: -inf dB @-inf ft."},
        {14, " Loss due to SWR: inf dB"},
        {20, "        Real SWR: -inf:1 +-"}}},
      {"inf ft",
       ".5",
       ".2",
       ".001",
       INFINITY,
       1.5f,
       {{13, "      Match Loss: inf dB @ inf ft."},
        {14, " Loss due to SWR: 0 dB"},
        {20, "        Real SWR: nan:1 +-"}}},
      {"small values",
       ".85",
       "0",
       "0",
       50,
       1,
       {{12, " STD. Match Loss: .85 dB 100 ft."}, {13, "      Match Loss: .425 dB @ 50 ft."}}},
      {"above 6:1",
       ".5",
       ".2",
       ".001",
       50,
       6.5f,
       {{10, "Real SWR cannot be estimated for a measured SWR above 6:1 (6.5:1)."},
        {11, "The loss figures would not be reliable, so none are shown. Measure the SWR"},
        {12, "at the antenna, or bring the SWR in the shack down to 6:1 or less."},
        {13, ""},
        {14, "Description:"}}},
      {"above 20:1", "1.1", "0", "0", 100, 5.5f, warning("21")},
      {"exactly 20:1", twenty, "0", "0", 100, 2.2f, warning("20")},
  };
  for (const Case& c : cases) {
    Load({{"RG-8X", "Test 1", c.k0, c.k1, c.k2}});
    state.lengthFt = c.lengthFt;
    state.shackSwr = c.shackSwr;
    Run();
    for (const auto& [row, text] : c.lines) EXPECT_EQ(Line(row), text) << c.name << ", row " << row;
  }
}

TEST_F(ResultsScreenTest, AWrappedRowEightPushesEverythingDown) {
  Cable cable{"RG-8X", "Test 1"};
  cable.dielectric = std::string(40, 'D');
  Load({cable});
  Run();
  EXPECT_EQ(Screen().At(9, 28).glyph, U'V');  // "…RMS: 600 V" ran past column 120
  EXPECT_EQ(Line(12), "       Frequency: 100 MHz");
  EXPECT_EQ(Line(23), "Description:");
}

TEST_F(ResultsScreenTest, TextsThatWouldPassTheFrameAreCutAtRowFortyOne) {
  std::string longText;
  for (int i = 0; i < 120; ++i) longText += "word" + std::to_string(i) + " ";
  Cable cable{"RG-8X", "Test 1"};
  cable.description = longText;
  cable.uses = longText;
  Load({cable});
  Run();
  EXPECT_EQ(Line(24).substr(0, 6), "word0 ");
  EXPECT_EQ(Screen().At(41, 5).colors, (Colors{7, 1}));
  EXPECT_NE(Line(41), "");
  for (int column = 2; column <= 118; ++column) EXPECT_EQ(Screen().At(42, column).glyph, U'═') << column;
  EXPECT_EQ(Screen().At(43, 5).glyph, U' ');
}

TEST_F(ResultsScreenTest, TheTypeListHoldsEachTypeOnceInDescendingByteOrder) {
  Load({{"RG-58", "A"}, {"rg-58", "B"}, {"RG-213", "C"}, {"RG-58", "D"}, {"LMR-400", "E"}, {"RG-8", "F"}});
  UntilKeysRunOut([&] { Run({}); });
  EXPECT_EQ(testing::Picture(Screen(), {8, 48, 13, 64}),
            testing::Rows({"rg-58", "RG-8", "RG-58", "RG-213", "LMR-400", ""}));
}

TEST_F(ResultsScreenTest, ThePartListKeepsCatalogOrderAndFitsItsCount) {
  Load({{"RG-58", "Second"}, {"RG-8", "Other"}, {"RG-58", "First"}});
  UntilKeysRunOut([&] { Run({keys::kDown, keys::kDown, keys::kEnter}); });  // RG-8, RG-58 -> RG-58
  EXPECT_EQ(testing::Picture(Screen(), {8, 44, 11, 71}), R"(
│ Second                  │
│ First                   │
│                         │
└─────────────────────────┘)");
}

TEST_F(ResultsScreenTest, APartListOfThirtyOrMoreEndsAtRowThirtyNine) {
  std::vector<Cable> cables;
  for (int i = 0; i < 40; ++i) cables.push_back({"RG-58", "Part " + std::to_string(i)});
  Load(cables);
  UntilKeysRunOut([&] { Run({keys::kEnter}); });
  EXPECT_EQ(testing::Picture(Screen(), {39, 44, 40, 44}), testing::Rows({"└", ""}));
}

TEST_F(ResultsScreenTest, ALongTypeBrokeTheFramesOrBlankedTheList) {
  for (const size_t length : {72u, 10000u}) {
    const std::string type(length, 'T');
    Load({{type, "Test 1"}});
    UntilKeysRunOut([&] { Run({}); });
    EXPECT_EQ(Text(5, 118, 3), "─┐") << length;
    EXPECT_EQ(Text(39, 118, 3), "─┘") << length;
    EXPECT_EQ(Text(8, 48, 72), type.substr(0, 71) + "│") << length;
    EXPECT_EQ(Text(4, 119, 2), "║") << length;
    EXPECT_EQ(Text(40, 119, 2), "║") << length;
    UntilKeysRunOut([&] { Run({keys::kEnter}); });  // on to the part list
    for (int row = 4; row <= 41; ++row) EXPECT_EQ(Text(row, 119, 2), "║") << length << ", row " << row;
  }
}

TEST_F(ResultsScreenTest, ASingleRecordCatalogGivesOneItemLists) {
  Load({{"RG-8X", "Only"}});
  UntilKeysRunOut([&] { Run({keys::kEnter}); });
  EXPECT_EQ(lists.typeList[0], " 1,Please Make a Selection");
  EXPECT_EQ(Screen().At(10, 44).glyph, U'└');
}

TEST_F(ResultsScreenTest, ATypeWithTwoHundredPartsScrollsToItsLastPart) {
  std::vector<Cable> cables;
  for (int i = 1; i <= 200; ++i) cables.push_back({"RG-58", "Part " + std::to_string(i)});
  cables.back().k0 = "1";
  Load(cables);
  Run({keys::kEnter, keys::kEnd, keys::kEnter});
  EXPECT_EQ(Line(5), "      Cable Type: RG-58, Part 200");
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  struct Case {
    double value;
    int places;
    double expected;
  };
  const Case cases[] = {{20.5, 0, 20},    {21.5, 0, 22},       {21.14715, 0, 21}, {0.125, 2, 0.12},
                        {0.375, 2, 0.38}, {74.0552, 2, 74.06}, {0.004444, 2, 0},  {-1.5, 0, -2}};
  for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.value, c.places), c.expected) << c.value;
}

}  // namespace
}  // namespace ferrolux
