#pragma once
// The ferrolux-fit command line: fit one cable's datasheet points, or rebuild the catalog.

#include <ostream>
#include <string>
#include <vector>

namespace ferrolux::fit {

inline constexpr int kToolFailed = 2;

// `args` are the arguments after the program name. Returns 0, or kToolFailed after writing
// one error line to `err` and nothing else anywhere.
int RunFitTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ferrolux::fit
