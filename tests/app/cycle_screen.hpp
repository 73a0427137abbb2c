#pragma once
// The screen as every step of a cycle finds it: the program's own page with frame and title.

#include <gtest/gtest.h>

#include <string>

#include "app/band_menu.hpp"
#include "app/main_screen.hpp"
#include "app/program_state.hpp"
#include "console/headless.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {

// Runs a step on the scripted keys and leaves it where it waits for one more, to look at that screen.
template <typename Step>
void UntilKeysRunOut(Step step) {
  try {
    step();
  } catch (const ScriptExhausted&) {
  }
}

class CycleScreenTest : public ::testing::Test {
 public:
  HeadlessConsole h;
  ProgramState state;

  const ScreenModel& Screen() const { return h.console.Screen(); }
  std::string Text(int row, int column, int length) const { return testing::Text(Screen(), row, column, length); }

 protected:
  void SetUp() override {
    FillBandTable(state);
    h.console.UsePage(1);
    h.console.SetColor(15, 1);
    DrawMainScreen(h.console);
  }
};

}  // namespace ferrolux
