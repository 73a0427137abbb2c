// Keys as terminals, tmux and screen really send them, through the program's whole keyboard
// path: each encoding of a cursor or paging key acts as that key in a pick list, and beeps
// where such a key is not allowed; none is ever typed as text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::milliseconds;

constexpr int kTypes = 40;
// The cable-type list: the blank before each item, then its text, on rows 8 to 38.
constexpr int kItemColumn = 47, kFirstItemRow = 8, kLastItemRow = 38;
constexpr int kSelectedBackground = 4;

const std::string kHome = "\x1bOH", kEnd = "\x1bOF";

// Types T01 to T40; the list shows them in descending order, T40 first.
std::string Catalog() {
  std::string catalog;
  for (int i = 1; i <= kTypes; ++i) catalog += Record(std::string(i < 10 ? "T0" : "T") + std::to_string(i), "Part");
  return catalog;
}

std::string SelectedItem(const PtySession& s) {
  for (int row = kFirstItemRow; row <= kLastItemRow; ++row) {
    if (s.Colors(row, kItemColumn).background != kSelectedBackground) continue;
    std::string text;
    for (int column = kItemColumn + 1; s.Cell(row, column) != " " && column < 120; ++column)
      text += s.Cell(row, column);
    return text;
  }
  return "none";
}

class KeysE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { temp.Write("CableCatalog.txt", Catalog()); }
  ferrolux::testing::TempFolder temp;
};

TEST_F(KeysE2eTest, EveryEncodingOfACursorOrPagingKeyMovesTheBar) {
  struct Case {
    std::string before;  // the keys that put the bar where the case starts
    std::vector<std::string> encodings;
    const char* selected;
  };
  const Case cases[] = {
      {kEnd, {"\x1b[1~", "\x1b[7~", "\x1b[H", "\x1bOH", "\x1b[1;5H", "\x1b[1;2~", "\x1b[7^"}, "T40"},
      {kHome, {"\x1b[4~", "\x1b[8~", "\x1b[F", "\x1bOF", "\x1b[1;5F", "\x1b[4;5~", "\x1b[8$"}, "T01"},
      {kHome, {"\x1b[B", "\x1bOB", "\x1b[1;5B", "\x1b[1;2B", "\x1bOb"}, "T39"},
      {kHome + kDownKey + kDownKey, {"\x1b[A", "\x1bOA", "\x1b[1;5A", "\x1b[a"}, "T39"},
      {kHome, {"\x1b[6~", "\x1b[6;5~", "\x1b[6^"}, "T10"},  // down a window less one row
      {kEnd, {"\x1b[5~", "\x1b[5;2~", "\x1b[5$"}, "T33"},   // up a window and one more row
  };
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_GT(FirstScreenBytes(s), 0u);
  ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << s.Screen();
  for (const Case& c : cases) {
    for (const std::string& encoding : c.encodings) {
      BytesForKeys(s, c.before + encoding);
      EXPECT_EQ(SelectedItem(s), c.selected) << ::testing::PrintToString(encoding);
    }
  }
  EXPECT_EQ(s.Bells(), 0);
}

TEST_F(KeysE2eTest, KeysWithoutACharacterBeepAtAQuestionAndAreNeverTypedAtAPrompt) {
  const std::vector<std::string> encodings = {"\x1b[1~", "\x1b[4~", "\x1b[7~",   "\x1b[8~",   "\x1b[H",  "\x1b[F",
                                              "\x1bOH",  "\x1bOF",  "\x1b[5~",   "\x1b[6~",   "\x1b[2~", "\x1b[3~",
                                              "\x1b[A",  "\x1bOD",  "\x1b[1;5C", "\x1b[5;2~", "\x1bOP",  "\x1b[15~"};
  std::string all;
  for (const std::string& encoding : encodings) all += encoding;
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_TRUE(s.WaitForText(kLengthPrompt));
  s.Send(all + "50\r");
  ASSERT_TRUE(s.WaitForText("input power in watts:"));
  EXPECT_NE(s.Screen().find(kLengthPrompt + " 50 "), std::string::npos) << s.Screen();
  s.Send("100\r1.5\r");
  ASSERT_TRUE(s.WaitForText(kReviseQuestion));
  const std::string question = s.Screen();
  s.Send(all);
  ASSERT_TRUE(Settle(s));
  EXPECT_EQ(s.Bells(), static_cast<int>(encodings.size()));
  EXPECT_EQ(s.Screen(), question);
  s.Send("n\x1b");
  EXPECT_EQ(s.WaitForExit(), 0);
}

// A shell's prompt asked for the background colour; the reply comes late, into the length.
TEST_F(KeysE2eTest, ATerminalsColourReplyIsNeverTypedAtAPrompt) {
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_TRUE(s.WaitForText(kLengthPrompt));
  s.Send("\x1b]11;rgb:0000/0000/0000\x1b\\5\x1bP1$r0m\x1b\\0\x1b]10;rgb:ffff/ffff/ffff\a\r");
  ASSERT_TRUE(s.WaitForText("input power in watts:")) << s.Screen();
  EXPECT_NE(s.Screen().find(kLengthPrompt + " 50 "), std::string::npos) << s.Screen();
}

// The window changes between the ESC of a Down key and the rest of it, which comes in a
// later read: still Down (refused at the band menu with a beep), not Escape, which would end
// the run. ESCDELAY gives the test time to be sure the bytes are read apart.
TEST_F(KeysE2eTest, AKeySplitByAWindowChangeIsStillThatKey) {
  PtySession s("/usr/bin/env", temp.Path(), 120, 43, {"ESCDELAY=3000", FERROLUX_BINARY});
  ASSERT_GT(FirstScreenBytes(s), 0u);
  ASSERT_TRUE(ReachBandMenu(s));
  s.Send("\x1b");
  std::this_thread::sleep_for(milliseconds(300));
  s.Resize(121, 44);
  std::this_thread::sleep_for(milliseconds(300));
  s.Send("OB");
  ASSERT_TRUE(Settle(s));
  EXPECT_EQ(s.Bells(), 1);
  EXPECT_NE(s.Screen().find(kBandPrompt), std::string::npos) << s.Screen();
  s.Send("\x1b");
  EXPECT_EQ(s.WaitForExit(std::chrono::seconds(10)), 0);
}

}  // namespace
}  // namespace ferrolux::e2e
