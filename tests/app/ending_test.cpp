#include "app/ending.hpp"

#include <gtest/gtest.h>

#include "app/program_state.hpp"
#include "console/headless.hpp"

namespace ferrolux {
namespace {

class EndingTest : public ::testing::Test {
 protected:
  HeadlessConsole h;
  ProgramState state;
  void SetUp() override {
    state.runStartStamp = "12-09-2026  07:30:00";
    h.clock.now = {2026, 12, 10, 0, 0, 5};
  }
};

TEST_F(EndingTest, OnTheOwnPageShowsTheRunLinesThenRepeatsThemOnTheTerminalsScreen) {
  h.console.UsePage(1);
  ShowEnding(h.console, state);
  EXPECT_FALSE(h.terminal.pageTaken);
  EXPECT_EQ(h.terminal.streamLines, (std::vector<std::string>{"Program Run Start: 12-09-2026  07:30:00",
                                                              "  Program Run End: 12-10-2026  00:00:05", ""}));
  EXPECT_EQ(h.keyboard.reads, 0);
}

TEST_F(EndingTest, AnErrorIsShownAndAKeyAwaitedBeforeTheRunLines) {
  state.errorMessage = "[53] File not found";
  h.keyboard.Key('q');
  ShowEnding(h.console, state);
  EXPECT_EQ(h.terminal.streamClears, 1);
  EXPECT_EQ(h.terminal.streamLines,
            (std::vector<std::string>{"Error: [53] File not found", "Program Run Start: 12-09-2026  07:30:00",
                                      "  Program Run End: 12-10-2026  00:00:05", ""}));
  EXPECT_EQ(h.console.Screen().At(1, 1), (Cell{U'E', {15, 1}}));
  EXPECT_EQ(h.keyboard.Pending(), 0u);
}

TEST_F(EndingTest, AnErrorOnTheOwnPageIsRepeatedOnTheTerminalsScreen) {
  h.console.UsePage(1);
  state.errorMessage = "SubScript out of range in FormatOutput() Subroutine";
  h.keyboard.Key('q');
  ShowEnding(h.console, state);
  ASSERT_EQ(h.terminal.streamLines.size(), 4u);
  EXPECT_EQ(h.terminal.streamLines[0], "Error: SubScript out of range in FormatOutput() Subroutine");
}

}  // namespace
}  // namespace ferrolux
