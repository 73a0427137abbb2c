#include "app/ending.hpp"

#include <string>

#include "app/program_state.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"

namespace ferrolux {

namespace {

const std::string kErrorLabel = "Error: ";
const std::string kStartLabel = "Program Run Start: ";
const std::string kEndLabel = "  Program Run End: ";

void PrintLine(Console& console, const std::string& text) {
  console.PrintText(text);
  console.PrintLineEnd();
}

void PrintRunLines(Console& console, const std::string& startStamp, const std::string& endStamp) {
  PrintLine(console, kStartLabel + startStamp);
  PrintLine(console, kEndLabel + endStamp);
}

std::string Stamp(Console& console) { return console.DateText() + "  " + console.TimeText(); }

}  // namespace

void ShowEnding(Console& console, ProgramState& state) {
  console.SetColor(kTextColors.foreground, kTextColors.background);
  console.ClearScreen();
  const bool hasError = !state.errorMessage.empty();
  if (hasError) {
    PrintLine(console, kErrorLabel + state.errorMessage);
    try {
      console.WaitKey();
    } catch (const LeaveRequested&) {
      // Leaving at the enlarge notice ends this wait like any key: the run lines still follow.
    }
  }
  const std::string endStamp = Stamp(console);
  PrintRunLines(console, state.runStartStamp, endStamp);
  if (!console.OnOwnPage()) return;
  console.Flush();
  console.LeavePage();
  if (hasError) PrintLine(console, kErrorLabel + state.errorMessage);
  PrintRunLines(console, state.runStartStamp, endStamp);
}

void ShowInterruptedEnding(Console& console, const ProgramState& state) {
  console.LeavePage();
  PrintRunLines(console, state.runStartStamp, Stamp(console));
}

}  // namespace ferrolux
