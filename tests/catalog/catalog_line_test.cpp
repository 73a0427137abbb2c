#include "catalog/catalog_line.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "catalog/catalog_reader.hpp"
#include "support/recorded_reports.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

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

// The catalog as the loader reads it back: two records, the written one, and one after it.
CatalogTable LoadedWith(const std::string& line, LoadDetail& detail) {
  const std::string bytes = "RG-8\tA\r\n" + line + "RG-58\tB\r\n";
  size_t at = 0;
  const ReadBytes read = [&](char* buffer, size_t size) -> ssize_t {
    const size_t count = std::min(size, bytes.size() - at);
    std::memcpy(buffer, bytes.data() + at, count);
    at += count;
    return static_cast<ssize_t>(count);
  };
  CatalogTable table = MakeCatalogTable();
  testing::RecordedReports reports;
  std::string error;
  detail = LoadCatalogFrom(read, table, reports, error);
  return table;
}

// Written as typed, a text over 8 kB made the whole catalog unreadable, byte 26 ended it, UTF-8
// came back as Windows-1252 mojibake (Ä as Ã„) and a blank made an empty field. A text is taken
// only as the loader gives it back; the rest is refused with the reason.
TEST(CatalogFieldOfTyped, CatalogLineTextsBreakingTheCatalogAreRefusedOrReadBackAsTyped) {
  const struct {
    std::string typed, bytes, fault;
  } cases[] = {
      {"Kabel \xC3\x84 \xE2\x82\xAC", "Kabel \xC4 \x80", ""},  // Ä and € have a byte each
      {"  Roof run ", "Roof run", ""},
      {"   ", "", "is blank"},
      {"", "", "is blank"},
      {"Kabel \xCE\xA9", "",
       "holds \"\xCE\xA9\" (U+03A9), which the catalog's single-byte text (Windows-1252) cannot hold"},
      {"A\x1A"
       "B",
       "", "holds the control character U+001A, which a catalog field cannot keep"},
      {"A\r\nB", "", "holds the control character U+000D"},
      {"A\x1B]0;x\x07", "", "holds the control character U+001B"},
      {"A\xC2\x85", "", "holds the control character U+0085"},
      {"A\tB", "", "holds a TAB"},
      {"A\"B", "", "holds a double quote"},
      {"A\xFF", "", "is not UTF-8 text"},
  };
  for (const auto& c : cases) {
    const CatalogField field = CatalogFieldOfTyped(c.typed);
    EXPECT_EQ(field.bytes, c.bytes) << c.typed;
    EXPECT_EQ(field.fault.substr(0, c.fault.size()), c.fault) << c.typed;
    EXPECT_EQ(field.fault.empty(), c.fault.empty()) << c.typed;
    if (!field.fault.empty()) continue;
    CatalogRow record;
    record[column::kType] = field.bytes;
    record[column::kPartNumber].assign(1, 'P');  // not = "P": GCC 12 warns falsely of an overlap
    LoadDetail detail{};
    const CatalogTable table = LoadedWith(CatalogLine(record), detail);
    EXPECT_EQ(detail, LoadDetail::kNone) << c.typed;
    EXPECT_EQ(RecordCount(table), 3) << c.typed;
    EXPECT_EQ(table[2][column::kType], field.bytes) << c.typed;
    EXPECT_EQ(OutputTextOfBytes(table[2][column::kType], ControlForm::kPicture), TrimBlanks(c.typed));
  }
}

// The longest line the writer lets through is one the loader takes; one byte more would make
// the loader refuse the whole catalog.
TEST(FitsCatalogLine, CatalogLineTooLongForTheLoaderIsNeverWritten) {
  for (const size_t textBytes : {kMaxCatalogLineBytes - 15, kMaxCatalogLineBytes - 14}) {
    CatalogRow record;
    record[column::kType] = std::string(textBytes, 'x');
    const std::string line = CatalogLine(record);
    LoadDetail detail{};
    const CatalogTable table = LoadedWith(line, detail);
    EXPECT_EQ(FitsCatalogLine(line), detail == LoadDetail::kNone) << textBytes;
    EXPECT_EQ(FitsCatalogLine(line), textBytes == kMaxCatalogLineBytes - 15) << textBytes;
  }
}

}  // namespace
}  // namespace ferrolux
