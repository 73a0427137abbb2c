#include "console/overflow_report.hpp"

#include "console/console.hpp"

namespace ferrolux {

void ReportOverflow(Console& console, const std::string& message, int upperBound, int count) {
  constexpr int kDigits = 15;
  console.PrintText("             Error: " + message);
  console.PrintLineEnd();
  console.PrintText("     Array Boundry:");
  console.PrintNumber(upperBound, kDigits);
  console.PrintLineEnd();
  console.PrintText("Number of Elements:");
  console.PrintNumber(count, kDigits);
  console.PrintLineEnd();
  console.WaitKey();
}

}  // namespace ferrolux
