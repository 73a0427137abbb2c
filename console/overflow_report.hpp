#pragma once
// The report a console routine prints when its output array is too small.

#include <string>

namespace ferrolux {

class Console;

// Prints the three report lines at the cursor in the current colours, then waits for a key.
void ReportOverflow(Console& console, const std::string& message, int upperBound, int count);

}  // namespace ferrolux
