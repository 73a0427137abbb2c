#include "console/overflow_report.hpp"

#include "console/console.hpp"
#include "text/text.hpp"

namespace ferrolux {

void ReportOverflow(Console& console, const std::string& message, int upperBound, int count) {
  for (const std::string& line : OverflowReportLines(message, upperBound, count)) {
    console.PrintText(line);
    console.PrintLineEnd();
  }
  console.WaitKey();
}

}  // namespace ferrolux
