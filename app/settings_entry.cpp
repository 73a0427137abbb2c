#include "app/settings_entry.hpp"

#include <string>

#include "app/main_screen.hpp"
#include "app/program_state.hpp"
#include "console/console.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr int kColumn = 33;
constexpr int kLengthRow = 10, kPowerRow = 12, kSwrRow = 14, kFirstHintRow = 15, kSecondHintRow = 16, kReviseRow = 18;
constexpr int kEraseWidth = 85;  // columns 33 to 117
constexpr float kMaxShackSwr = 7;
const std::string kLengthPrompt = "      Enter the coaxial cable length in ft: ";
const std::string kPowerPrompt = "            Enter the input power in watts: ";
const std::string kSwrPrompt = "   Please enter the SWR as measured in the shack: ";
const std::string kFirstHint = "        Enter just the first part, example: 1.5";
const std::string kSecondHint = "        The maximum you can enter is 7";
const std::string kReviseQuestion = " Do you want to revise any of these settings? [Y/N]";
const std::string kReviseKeys = "YyNn\x1b";

float ReadNumber(Console& console) {
  return static_cast<float>(ParseNumber(FirstField(console.InputLine(main_screen::kWorkRight))));
}

float AskNumber(Console& console, int row, const std::string& prompt) {
  console.Locate(row, kColumn);
  console.PrintText(prompt);
  return ReadNumber(console);
}

void PrintLineAt(Console& console, int row, const std::string& text) {
  console.Locate(row, kColumn);
  console.PrintText(text);
  console.PrintLineEnd();
}

float AskShackSwr(Console& console) {
  float swr = 0;
  while (swr <= 0 || swr > kMaxShackSwr) {
    PrintLineAt(console, kSwrRow, Blanks(kEraseWidth));
    swr = AskNumber(console, kSwrRow, kSwrPrompt);
  }
  return swr;
}

}  // namespace

void EnterSettings(Console& console, ProgramState& state) {
  std::string answer;
  while (answer != "N") {
    state.lengthFt = AskNumber(console, kLengthRow, kLengthPrompt);
    state.powerW = AskNumber(console, kPowerRow, kPowerPrompt);
    PrintLineAt(console, kFirstHintRow, kFirstHint);
    PrintLineAt(console, kSecondHintRow, kSecondHint);
    state.shackSwr = AskShackSwr(console);
    PrintLineAt(console, kReviseRow, kReviseQuestion);
    answer = UpperCase(console.WaitKey(kReviseKeys));
    for (int row = kLengthRow; row <= kReviseRow; ++row) PrintLineAt(console, row, Blanks(kEraseWidth));
  }
}

}  // namespace ferrolux
