// The type list scrolled far, on terminals with side margins and on terminals whose terminfo
// entry claims side margins they lack.
#include <gtest/gtest.h>

#include <string>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::milliseconds;

constexpr int kListRows = 31;
constexpr int kFirstListRow = 8;
constexpr int kScrolledRows = 40;
const std::string kSideMarginsOn = "\x1b[?69h";

// More types than the list shows by far, each named apart, so that a row painted from a wrong
// idea of the terminal shows.
std::string ManyTypes(int count) {
  std::string catalog;
  for (int i = 0; i < count; ++i) catalog += Record("Type " + std::to_string(100 + i), "Part " + std::to_string(i));
  return catalog;
}

std::string Downs(int count) {
  std::string keys;
  for (int press = 0; press < count; ++press) keys += kDownKey;
  return keys;
}

// Each Down painted before the next is sent, so that the list scrolls row by row.
void PressDownOneByOne(PtySession& s, int presses) {
  for (int press = 0; press < presses; ++press) {
    const size_t before = s.Output().size();
    s.Send(Downs(1));
    s.PumpUntil([&] { return s.Output().size() > before; }, milliseconds(5000));
    s.WaitForQuiet(milliseconds(10));
  }
}

TEST(SideMarginsE2e, AListScrolled40RowsLostItsColumnsOnATerminalWithoutSideMargins) {
  struct Terminal {
    const char* name;
    bool hasSideMargins;
  };
  for (const auto& [name, hasSideMargins] :
       {Terminal{"libvterm, which has them and says so", true}, Terminal{"a terminal without them", false}}) {
    ferrolux::testing::TempFolder temp;
    temp.Write("CableCatalog.txt", ManyTypes(kListRows + kScrolledRows + 5));
    PtySession s(FERROLUX_BINARY, temp.Path());
    if (!hasSideMargins) s.LackSideMargins();
    ASSERT_GT(FirstScreenBytes(s), 0u) << name;
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << name << "\n" << s.Screen();
    BytesForKeys(s, Downs(kListRows - 1));  // the bar to the list's last row, in one go
    const size_t before = s.Output().size();
    const std::string firstListRow = s.Row(kFirstListRow);
    PressDownOneByOne(s, kScrolledRows);
    ASSERT_TRUE(Settle(s));
    ASSERT_NE(s.Row(kFirstListRow), firstListRow) << name << ": the list did not scroll";
    const std::string scrolled = s.Screen();
    EXPECT_EQ(s.Output().find(kSideMarginsOn, before) != std::string::npos, hasSideMargins) << name;
    s.Resize(120, 43);  // painted afresh
    ASSERT_TRUE(Settle(s));
    EXPECT_EQ(DifferentLines(scrolled, s.Screen()), 0) << name << ", scrolled:\n"
                                                       << scrolled << "painted afresh:\n"
                                                       << s.Screen();
  }
}

}  // namespace
}  // namespace ferrolux::e2e
