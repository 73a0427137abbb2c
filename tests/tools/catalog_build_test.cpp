#include "tools/fit/catalog_build.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/utf8_args.hpp"
#include "support/temp_folder.hpp"
#include "text/text.hpp"
#include "tools/fit/fit_tool.hpp"
#include "tools/fit/input_checks.hpp"

namespace ferrolux::fit {
namespace {

namespace fs = std::filesystem;

const std::string kPointsHeader =
    "family\tmaker\tpart_number\timpedance_ohm\tvf\tcap_pf_per_ft\tcenter_conductor\tdielectric\tshield\tjacket\t"
    "od_in\tmax_rms\tfreq_mhz\tloss_db_per_100ft\tsource_url\n";
const std::string kFactsHeader =
    "maker\tpart_number\tType\tPart Number\tCenter Conductor\tDielectric Type\tShield Type\tJacket Material\tRMS\t"
    "Description\tRecommended Uses\tworst_error_bound_pct\tbound_reason\n";

// A row of cable X1 by Maker, at `mhz` with the loss of 0.5 + 0.2·√f + 0.001·f.
std::string PointRow(const std::string& part, const std::string& mhz, const std::string& loss) {
  return "fam\tMaker\t" + part + "\t50\t0.66\t30.8\tcopper\tsolid PE\tbraid\tPVC\t0.405\t600 V\t" + mhz + "\t" + loss +
         "\turl\n";
}

std::string ThreePoints(const std::string& part) {
  return PointRow(part, "10", "1.1424555") + PointRow(part, "100", "2.6") + PointRow(part, "1000", "7.8245553");
}

std::string FactRow(const std::string& part, const std::string& description = "A test cable.") {
  return "Maker\t" + part + "\tRG-X\tMaker " + part + "\tSolid Cu\tPE\tBraid\tPVC\t600 V\t" + description +
         "\tTests.\t1\t\n";
}

class CatalogBuildTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  fs::path points = folder.Path() / "points.tsv";
  fs::path facts = folder.Path() / "facts.tsv";
  fs::path output = folder.Path() / "CableCatalog.txt";
  void Write(const std::string& pointRows, const std::string& factRows) {
    folder.Write("points.tsv", kPointsHeader + pointRows);
    folder.Write("facts.tsv", kFactsHeader + factRows);
  }
};

TEST_F(CatalogBuildTest, OneRecordPerFactsRowInItsOrderWithTheFittedCoefficientsAndCrLf) {
  Write(ThreePoints("X1") + ThreePoints("X2"), FactRow("X2") + FactRow("X1"));
  const BuiltCatalog built = BuildCatalog(points, facts);
  const auto record = [](const std::string& part) {
    return "RG-X\tMaker " + part +
           "\t50\t0.66\t30.8\tSolid Cu\tPE\tBraid\tPVC\t.405 in\t600 V\t0.5\t0.2\t0.001\t"
           "A test cable.\tTests.\r\n";
  };
  EXPECT_EQ(built.text, record("X2") + record("X1"));
  ASSERT_EQ(built.cables.size(), 2u);
  EXPECT_EQ(built.cables[1].partNumber, "Maker X1");
  EXPECT_EQ(built.cables[1].fit.pointsUsed, 3u);
}

TEST_F(CatalogBuildTest, EachBadInputGetsOneLineAndNoCatalogIsWritten) {
  std::string manyPoints, manyFacts;  // one cable more than the catalog holds
  for (int i = 1; i <= 116; ++i) {
    const std::string part = std::string("X").append(std::to_string(i));
    manyPoints += ThreePoints(part), manyFacts += FactRow(part);
  }
  struct Case {
    const char* name;
    std::string pointRows, factRows;
    std::string message;
  };
  const Case cases[] = {
      {"a loss that is not a number", PointRow("X1", "10", "1.1") + PointRow("X1", "100", "n/a"), FactRow("X1"),
       "points.tsv:3: loss is not a number: n/a"},
      {"a negative loss", PointRow("X1", "10", "-1.1"), FactRow("X1"), "points.tsv:2: loss must be above 0: -1.1"},
      {"fewer than 3 points", PointRow("X1", "10", "1.1") + PointRow("X1", "100", "2.6"), FactRow("X1"),
       "points.tsv:3: the fit needs at least 3 points"},
      {"facts for a cable without points", ThreePoints("X1"), FactRow("X1") + FactRow("X9"),
       "facts.tsv:3: no points for Maker X9"},
      {"points for a cable without facts", ThreePoints("X1") + ThreePoints("X2"), FactRow("X1"),
       "points.tsv:5: no row in facts.tsv for Maker X2"},
      {"a cable twice in the facts", ThreePoints("X1"), FactRow("X1") + FactRow("X1"),
       "facts.tsv:3: a second row for Maker X1"},
      {"a double quote in a text", ThreePoints("X1"), FactRow("X1", "A 1/2\" cable."),
       "facts.tsv:2: Description holds a double quote"},
      {"an empty description", ThreePoints("X1"), FactRow("X1", ""), "facts.tsv:2: Description is empty"},
      {"a row short of fields", ThreePoints("X1"), "Maker\tX1\tRG-X\n",
       "facts.tsv:2: 3 fields where the header has 13"},
      {"more cables than the catalog holds", manyPoints, manyFacts, "facts.tsv:117: more than 115 cables"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.pointRows, c.factRows);
    std::ostringstream out, err;
    EXPECT_EQ(RunFitTool({"--catalog", points.string(), facts.string(), output.string()}, out, err), kToolFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1);
    EXPECT_FALSE(fs::exists(output));
  }
}

TEST_F(CatalogBuildTest, ACatalogThatCannotBeWrittenIsOneErrorLineAndLeavesNothingBehind) {
  Write(ThreePoints("X1"), FactRow("X1"));
  const fs::path nowhere = folder.Path() / "missing" / "CableCatalog.txt";
  std::ostringstream out, err;
  EXPECT_EQ(RunFitTool({"--catalog", points.string(), facts.string(), nowhere.string()}, out, err), kToolFailed);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "ferrolux-fit: " + nowhere.string() + ": cannot be written\n");
  EXPECT_FALSE(fs::exists(folder.Path() / "missing"));
}

// The arguments are UTF-8 on every system; through the C library's code page they named other
// files on Windows, and a name it cannot hold ended the tool.
TEST_F(CatalogBuildTest, NonAsciiFileNamesAreReadWrittenAndNamedInUtf8) {
  const std::string base = platform::Utf8OfPath(folder.Path()) + "/";
  const fs::path written = folder.Path() / platform::PathOfUtf8("Ω") / "CableCatalog.txt";
  fs::create_directory(written.parent_path());
  const struct {
    std::string pointRows;
    int status;
    std::string err;
  } cases[] = {
      {ThreePoints("X1"), 0, ""},
      {ThreePoints("X1") + ThreePoints("X2"), kToolFailed, "/ü-points.tsv:5: no row in Ω-facts.tsv for Maker X2\n"},
  };
  for (const auto& c : cases) {
    std::ofstream(folder.Path() / platform::PathOfUtf8("ü-points.tsv")) << kPointsHeader + c.pointRows;
    std::ofstream(folder.Path() / platform::PathOfUtf8("Ω-facts.tsv")) << kFactsHeader + FactRow("X1");
    std::ostringstream out, err;
    EXPECT_EQ(
        RunFitTool({"--catalog", base + "ü-points.tsv", base + "Ω-facts.tsv", base + "Ω/CableCatalog.txt"}, out, err),
        c.status);
    EXPECT_TRUE(err.str().ends_with(c.err)) << err.str();
    EXPECT_EQ(fs::exists(written), c.status == 0);
    fs::remove(written);
  }
}

TEST(CoefficientTextTest, SixSignificantDigitsInPlainDecimalsThatParseNumberReadsBack) {
  struct Case {
    double k;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {0.1149921234, "0.114992"},
      {0.000448697123, "0.000448697"},
      {0.0000141627, "0.0000141627"},
      {0.1, "0.1"},
      {12.3456789, "12.3457"},
      {0.99999951, "1"},
      {123456789, "123457000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CoefficientText(c.k), c.text);
    EXPECT_EQ(CoefficientText(ParseNumber(c.text)), c.text);
  }
}

TEST(MedianTest, TheMiddleValueOrTheMeanOfTheTwoMiddleValues) {
  EXPECT_EQ(Median({3, 1, 2}), 2);
  EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
  EXPECT_EQ(Median({}), 0);
}

}  // namespace
}  // namespace ferrolux::fit
