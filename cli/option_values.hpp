#pragma once
// The words some options take, shared by the checks on the command line and by the shell
// completion, so that both always offer the same.

#include <string>
#include <vector>

namespace ferrolux::cli {

inline const std::vector<std::string> kFormats{"text", "csv", "json"};
inline const std::vector<std::string> kSortKeys{"total", "matched", "name", "exact"};
inline const std::vector<std::string> kPlotQuantities{"loss", "z0", "z0-angle", "vf"};
inline const std::vector<std::string> kSweepViews{"swr", "rx", "smith", "tdr"};
inline const std::vector<std::string> kTdrWindows{"kaiser", "hann", "none"};
inline const std::vector<std::string> kShells{"bash", "zsh", "fish", "powershell"};

}  // namespace ferrolux::cli
