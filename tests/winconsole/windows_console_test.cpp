#include "winconsole/windows_console.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "fake_console.hpp"

namespace ferrolux {
namespace {

using std::chrono::milliseconds;

class WindowsConsoleTest : public ::testing::Test {
 protected:
  WindowsConsoleTest() : console_(std::make_unique<FakeConsole>(state_)) {}

  // The page taken and the model painted, as the program does before its first read.
  void ShowPage() {
    console_.TakePage();
    console_.SetSize(120, 43);
    console_.Show(screen_);
    EXPECT_EQ(console_.ReadKey(milliseconds(0)), std::nullopt);
  }

  std::u16string PageRow(int row) const {
    const std::u16string& line = state_.page.at(static_cast<size_t>(row));
    return line.substr(0, line.find_last_not_of(u' ') + 1);
  }

  FakeConsoleState state_;
  WindowsConsole console_;
  ScreenModel screen_{120, 43};
};

TEST_F(WindowsConsoleTest, PastedLineIsPaintedOnceWhenNoKeyIsLeft) {
  ShowPage();
  const std::u16string pasted = u"RG-213 and 50 m";
  std::vector<InputRecord> records;
  for (char16_t ch : pasted) records.push_back(TypedRecord(ch));
  state_.input.push_back(records);
  state_.paints = 0;
  for (int column = 1; const std::optional<Key> key = console_.ReadKey(milliseconds(0)); ++column) {
    screen_.Put(1, column, Cell{static_cast<char32_t>(key->Typed()), Colors{}});
    console_.Show(screen_);
  }
  EXPECT_EQ(state_.paints, 1);
  EXPECT_EQ(PageRow(0), pasted);
}

// 80 x 25 is the console Windows opens by default: there the first line of the notice is exactly
// as wide as the window.
TEST_F(WindowsConsoleTest, SmallerWindowShowsTheSizeNoticeUntilEscapeEndsTheRun) {
  const struct {
    const char* what;
    ConsoleSize window;
    bool fromTheStart;
    std::vector<std::u16string> notice;
  } cases[] = {
      {"made smaller",
       {60, 20},
       false,
       {u"Ferrolux needs a terminal of at least 120 columns by 43", u"rows. Please enlarge it.", u"Now: 60 x 20",
        u"Press Escape or Q to end the program.", u""}},
      {"80 x 25 from the start",
       {80, 25},
       true,
       {u"Ferrolux needs a terminal of at least 120 columns by 43 rows. Please enlarge it.", u"Now: 80 x 25",
        u"Press Escape or Q to end the program.", u""}},
  };
  for (const auto& c : cases) {
    FakeConsoleState state;
    if (c.fromTheStart) state.window = c.window;
    WindowsConsole console(std::make_unique<FakeConsole>(state));
    ScreenModel screen(120, 43);
    console.TakePage();
    console.SetSize(120, 43);
    console.Show(screen);
    EXPECT_EQ(console.ReadKey(milliseconds(0)), std::nullopt) << c.what;
    std::vector<InputRecord> records{TypedRecord(u'a')};
    if (!c.fromTheStart) {
      state.window = c.window;
      records.insert(records.begin(), InputRecord{InputRecord::Kind::kBufferSize, {}});
    }
    state.input.push_back(records);
    EXPECT_EQ(console.ReadKey(milliseconds(0)), std::nullopt) << c.what;  // the notice swallows the key
    for (size_t row = 0; row < c.notice.size(); ++row) {
      const std::u16string& line = state.page.at(row);
      EXPECT_EQ(line.substr(0, line.find_last_not_of(u' ') + 1), c.notice[row]) << c.what << ", row " << row;
    }
    state.input.push_back({TypedRecord(0x1B, 0x1B)});
    EXPECT_THROW(console.ReadKey(milliseconds(0)), LeaveRequested) << c.what;
  }
}

TEST_F(WindowsConsoleTest, ControlEventsEndTheRunAsSignalsDo) {
  struct Case {
    ControlEvent event;
    int signal;
    bool terminalGone;
  };
  for (const Case c : {Case{ControlEvent::kInterrupt, SIGINT, false}, Case{ControlEvent::kClose, 0, true}}) {
    FakeConsoleState state;
    ScreenModel screen(120, 43);
    {
      WindowsConsole console(std::make_unique<FakeConsole>(state));
      console.TakePage();
      console.Show(screen);
      EXPECT_EQ(console.ReadKey(milliseconds(0)), std::nullopt);
      state.controls.push_back(c.event);
      try {
        console.ReadKey(std::nullopt);
        ADD_FAILURE() << "no end requested";
      } catch (const EndRequested& end) {
        EXPECT_EQ(end.signal, c.signal);
        EXPECT_EQ(end.terminalGone, c.terminalGone);
      }
      screen.Put(1, 1, Cell{U'X', Colors{}});
      console.Show(screen);
      state.paints = 0;
    }
    EXPECT_FALSE(state.pageActive);  // the starting console is shown again
    EXPECT_EQ(state.paints, c.terminalGone ? 0 : 1);
  }
}

TEST_F(WindowsConsoleTest, LinesStandOnTheStartingConsoleAndTheTitleInItsCharacters) {
  console_.StreamText(U"Loading Catalog", Colors{14, 1});
  console_.StreamLineEnd();
  console_.SetTitle("Ferrolux \x7f\x01");
  EXPECT_EQ(state_.started, u"Loading Catalog\r\n");
  EXPECT_EQ(state_.title.substr(0, 9), u"Ferrolux ");
  EXPECT_EQ(state_.title.find_first_of(u"\x01\x7f"), std::u16string::npos);
}

}  // namespace
}  // namespace ferrolux
