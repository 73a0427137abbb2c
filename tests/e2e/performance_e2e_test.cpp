// What the program costs a terminal: bytes per screen and per key, and wake-ups while it waits.
// These figures do not depend on the machine, so they are held to their limits here; times
// are only reported by the benchmark.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "process_status.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr size_t kFirstScreenBytes = 2000;
constexpr size_t kDownKeyBytes = 100;
// Where the terminal lacks side margins, the rows scroll whole and the bar's row is painted again.
constexpr size_t kDownKeyBytesWithoutSideMargins = 130;
constexpr size_t kTypedCharacterBytes = 16;
constexpr double kMessageWakeUpsPerSecond = 55;
constexpr milliseconds kIdleSpan{3000};
// Past the 31 rows the list shows: the last presses scroll it.
constexpr int kDownPresses = 35;

// Types named as real catalogs name them, long ones among them, more than the list shows.
std::string ManyTypesCatalog() {
  static const char* const kTypes[] = {"Heliax LDF4-50A", "Belden 9913F7", "LMR-400UltraFlex", "RG-213/U",
                                       "Ecoflex 15 Plus", "Aircell 7",     "RG-58C/U",         "LMR-600DB"};
  const std::string fields =
      "\t50\t.85\t24\tSolid Cu\tFoam PE\tFoil+braid\tPE\t0.405 in\t2500 V\t.1\t.12\t.0003\t"
      "A cable.\tLong runs.\r\n";
  std::string catalog;
  for (int i = 0; i < 40; ++i) {
    const std::string number = std::to_string(i);
    const std::string type = std::string(kTypes[i % 8]) + (i < 8 ? "" : "-" + number);
    catalog += type + "\tPart " + number + fields;
  }
  return catalog;
}

std::string ShippedCatalog() {
  return ferrolux::testing::FileText(fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt");
}

class PerformanceE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  void UseCatalog(const std::string& bytes) { temp.Write("CableCatalog.txt", bytes); }
  void SetUp() override { UseCatalog(ShippedCatalog()); }
};

TEST_F(PerformanceE2eTest, TheFirstScreenTakesAtMost2000BytesAndItsWaitForAKeyNeverWakesUp) {
  PtySession s(FERROLUX_BINARY, temp.Path());
  const size_t bytes = FirstScreenBytes(s);
  ASSERT_GT(bytes, 0u) << s.Screen();
  EXPECT_LE(bytes, kFirstScreenBytes);
  EXPECT_EQ(s.Cell(42, 119), "╝");
  EXPECT_EQ(WakeUpsOver(s.Pid(), kIdleSpan), 0);
}

TEST_F(PerformanceE2eTest, ATypedCharacterAtAPromptCostsAtMost16Bytes) {
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_GT(FirstScreenBytes(s), 0u);
  for (const char typed : std::string("12.5")) {
    EXPECT_LE(BytesForKeys(s, std::string(1, typed)), kTypedCharacterBytes) << typed;
  }
  EXPECT_LE(BytesForKeys(s, kBackspaceKey), kTypedCharacterBytes);
  EXPECT_NE(s.Screen().find("length in ft: 12."), std::string::npos) << s.Screen();
}

TEST_F(PerformanceE2eTest, ADownKeyInTheCableTypeListCostsAtMost100Bytes) {
  struct Case {
    const char* name;
    std::string catalog;
    bool barMoves;  // the shipped catalog may hold a single type
  };
  for (const Case& c : {Case{"shipped", ShippedCatalog(), false}, Case{"many types", ManyTypesCatalog(), true}}) {
    UseCatalog(c.catalog);
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_GT(FirstScreenBytes(s), 0u) << c.name;
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << c.name << "\n" << s.Screen();
    for (int press = 1; press <= kDownPresses; ++press) {
      const size_t bytes = BytesForKeys(s, kDownKey);
      EXPECT_LE(bytes, kDownKeyBytes) << c.name << ", press " << press;
      EXPECT_TRUE(!c.barMoves || bytes > 0) << c.name << ", press " << press;
    }
  }
}

TEST_F(PerformanceE2eTest, ADownKeyOnATerminalWithoutSideMarginsCostsAtMost130Bytes) {
  UseCatalog(ManyTypesCatalog());
  PtySession s(FERROLUX_BINARY, temp.Path());
  s.LackSideMargins();
  ASSERT_GT(FirstScreenBytes(s), 0u);
  ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << s.Screen();
  for (int press = 1; press <= kDownPresses; ++press)
    EXPECT_LE(BytesForKeys(s, kDownKey), kDownKeyBytesWithoutSideMargins) << "press " << press;
}

TEST_F(PerformanceE2eTest, TheFiveSecondMessageWakesAtMost55TimesASecond) {
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_GT(FirstScreenBytes(s), 0u);
  ASSERT_TRUE(ReachBandMenu(s) && ReachRefusedFrequency(s)) << s.Screen();
  const double rate = WakeUpsPerSecondUntilGone(s, kRefusedFrequency);
  EXPECT_GE(rate, 0) << "the message never went";
  EXPECT_LE(rate, kMessageWakeUpsPerSecond);
  EXPECT_NE(s.Screen().find(kFrequencyPrompt), std::string::npos);
}

}  // namespace
}  // namespace ferrolux::e2e
