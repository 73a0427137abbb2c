#pragma once
// The shell functions of the completion scripts that offer the catalog's part numbers. They read
// the command line's words as each shell would, quotes and a leading ~ included, but never glob
// or run anything a word holds: a catalog's file name comes from anywhere, an archive included.

#include <string>

namespace ferrolux::cli {

// `function` is the scripts' prefix for their own names (_ferrolux, __ferrolux for fish).
std::string BashCableFunctions(const std::string& function);
std::string ZshCableFunctions(const std::string& function);
std::string FishCableFunctions(const std::string& function);

}  // namespace ferrolux::cli
