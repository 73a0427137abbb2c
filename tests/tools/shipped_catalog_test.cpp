// The catalog that ships with the program, checked against the data it was made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "app/main_screen.hpp"
#include "app/results_screen.hpp"
#include "catalog/published_spans.hpp"
#include "model/loss.hpp"
#include "support/temp_folder.hpp"
#include "tools/fit/catalog_build.hpp"
#include "tools/shipped_catalog.hpp"

namespace ferrolux::fit {
namespace {

constexpr double kPercent = 100;
constexpr double kMedianLimitPct = 3;
constexpr double kLimitPct = 15;
constexpr double kUnexplainedLimitPct = 10;  // a larger bound needs its reason beside it
constexpr double kBoundStepPct = 0.1;        // bounds are the fit's error rounded up to this
constexpr int kBlockColumn = 5;
constexpr size_t kRowEightWidth = main_screen::kFrameRight - kBlockColumn;  // columns 5 to 118

// Matched loss per 100 ft as the results screen gets it from the record's texts.
double ShownLoss(const CatalogRow& cable, double mhz) {
  const auto k = [&](int column) { return static_cast<float>(ParseNumber(cable[column])); };
  return ComputeLosses(k(column::kK0), k(column::kK1), k(column::kK2), static_cast<float>(mhz), 100, 100, 1)
      .stdMatchLoss;
}

// The "RMS" column holds voltage and power ratings alike, so each value names its kind: a voltage
// ("750 V", "2500 Vdc", "400 Vp", "5 kVrms"), a CW power at a frequency ("5.5kW@30M") or a peak
// power ("13kWpk").
// No <regex> here: GCC 12 warns falsely inside it in the sanitizer build.
bool TakeNumber(std::string_view& text) {
  const size_t end = text.find_first_not_of("0123456789.");
  if (text.empty() || end == 0) return false;
  text.remove_prefix(end == std::string_view::npos ? text.size() : end);
  return true;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool ShowsItsKind(std::string_view rating) {
  if (!TakeNumber(rating)) return false;
  if (TakePrefix(rating, " ")) {
    TakePrefix(rating, "k");
    return rating == "V" || rating == "Vdc" || rating == "Vp" || rating == "Vrms";
  }
  TakePrefix(rating, "k");
  if (!TakePrefix(rating, "W")) return false;
  return rating == "pk" || (TakePrefix(rating, "@") && TakeNumber(rating) && rating == "M");
}

class ShippedCatalogTest : public ::testing::Test, public ShippedCatalog {};

TEST_F(ShippedCatalogTest, LoadsWithoutErrorWithOneRecordPerCableOfTheFacts) {
  EXPECT_EQ(error, "");
  EXPECT_EQ(count, static_cast<int>(facts.rows.size()));
  EXPECT_EQ(count, 71);
  EXPECT_LE(count, kCatalogCapacity);
  for (int r = 1; r <= count; ++r) EXPECT_EQ(catalog[r][column::kPartNumber], Fact(r, "Part Number")) << r;
}

TEST_F(ShippedCatalogTest, IsCrLfTextWithoutDoubleQuotes) {
  const std::string bytes = testing::FileText(kShippedCatalog);
  EXPECT_EQ(bytes.find('"'), std::string::npos);
  EXPECT_EQ(bytes.find('\x1a'), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (size_t i = 0; i < bytes.size(); ++i) {
    const bool lineEnd = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    const bool lineEndTail = bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
    ASSERT_EQ(bytes[i] == '\r' || bytes[i] == '\n', lineEnd || lineEndTail) << "a lone CR or LF at byte " << i;
  }
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), count);
}

TEST_F(ShippedCatalogTest, EveryFieldIsFilledUnlessTheDataLeavesThatFactUnknown) {
  struct Source {
    int column;
    const char* published;  // the points column it comes from; empty there means unknown
  };
  const Source sources[] = {{column::kImpedance, "impedance_ohm"},
                            {column::kVelocityFactor, "vf"},
                            {column::kCapacitance, "cap_pf_per_ft"},
                            {column::kCenterConductor, "center_conductor"},
                            {column::kDielectric, "dielectric"},
                            {column::kShield, "shield"},
                            {column::kJacket, "jacket"},
                            {column::kDiameter, "od_in"},
                            {column::kRms, "max_rms"}};
  const int alwaysFilled[] = {column::kType,        column::kPartNumber,     column::kK0, column::kK1, column::kK2,
                              column::kDescription, column::kRecommendedUses};
  for (int r = 1; r <= count; ++r) {
    SCOPED_TRACE(catalog[r][column::kPartNumber]);
    const TableRow& published = FirstPointRow(r);
    for (const Source& f : sources)
      EXPECT_EQ(catalog[r][f.column].empty(), Published(published, f.published).empty()) << f.published;
    for (int c : alwaysFilled) EXPECT_FALSE(catalog[r][c].empty()) << "column " << c;
  }
}

TEST_F(ShippedCatalogTest, EveryRatingShowsItsKind) {
  for (int r = 1; r <= count; ++r) {
    const std::string& rating = catalog[r][column::kRms];
    EXPECT_TRUE(rating.empty() || ShowsItsKind(rating)) << rating;
  }
}

TEST_F(ShippedCatalogTest, RowEightOfTheCableBlockStaysInsideTheFrame) {
  for (int r = 1; r <= count; ++r)
    for (const std::string& row : CableBlockRows(catalog[r])) EXPECT_LE(row.size(), kRowEightWidth) << row;
}

TEST_F(ShippedCatalogTest, CoefficientTextsReadBackUnchanged) {
  for (int r = 1; r <= count; ++r)
    for (int c : {column::kK0, column::kK1, column::kK2})
      EXPECT_EQ(CoefficientText(ParseNumber(catalog[r][c])), catalog[r][c]);
}

TEST_F(ShippedCatalogTest, ShippedCoefficientsRebuildTheDatasheetLossesWithinEachCablesBound) {
  std::vector<double> worstPct;
  for (int r = 1; r <= count; ++r) {
    SCOPED_TRACE(catalog[r][column::kPartNumber]);
    double worst = 0;
    for (const LossPoint& p : PointsUpTo(r, kDefaultMaxMhz))
      worst = std::max(worst, std::fabs(ShownLoss(catalog[r], p.mhz) - p.loss) / p.loss);
    worstPct.push_back(worst * kPercent);
    const double bound = ParseNumber(Fact(r, "worst_error_bound_pct"));
    EXPECT_LE(worstPct.back(), bound);
    EXPECT_GT(worstPct.back(), bound - kBoundStepPct) << "the bound is looser than the fit's error rounded up";
    EXPECT_LE(bound, kLimitPct);
    EXPECT_TRUE(bound <= kUnexplainedLimitPct || !Fact(r, "bound_reason").empty()) << "a large bound needs its reason";
  }
  EXPECT_LE(Median(worstPct), kMedianLimitPct);
}

// The notes on extrapolated figures read these spans from a table built into the program.
TEST_F(ShippedCatalogTest, EveryCablesPublishedSpanIsThatOfThePointsItsFitUses) {
  for (int r = 1; r <= count; ++r) {
    SCOPED_TRACE(catalog[r][column::kPartNumber]);
    const std::vector<LossPoint> points = PointsUpTo(r, kDefaultMaxMhz);
    const auto [lowest, highest] = std::minmax_element(
        points.begin(), points.end(), [](const LossPoint& a, const LossPoint& b) { return a.mhz < b.mhz; });
    const std::optional<FrequencySpan> span = PublishedSpan(catalog[r][column::kPartNumber]);
    ASSERT_TRUE(span.has_value()) << "add the cable to catalog/published_spans.cpp";
    EXPECT_EQ(span->lowestMHz, lowest->mhz);
    EXPECT_EQ(span->highestMHz, highest->mhz);
  }
}

TEST(ShippedCatalogRebuildTest, TheToolRebuildsTheShippedFileByteForByte) {
  testing::TempFolder folder;
  const auto rebuilt = folder.Path() / "CableCatalog.txt";
  const std::string command = std::string(FERROLUX_FIT_BINARY) + " --catalog '" + kPointsFile.string() + "' '" +
                              kFactsFile.string() + "' '" + rebuilt.string() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_TRUE(testing::FileText(rebuilt) == testing::FileText(kShippedCatalog))
      << "run the command in docs/catalog.md to rebuild data/CableCatalog.txt";
}

}  // namespace
}  // namespace ferrolux::fit
