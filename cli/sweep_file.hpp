#pragma once
// The sweep file reader as a subcommand uses it: its fault is the command's.

#include <string>

#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

// Throws a CommandError (status 1) saying "FILE: reason" or "FILE:LINE: reason".
Sweep ReadSweep(const std::string& file);

}  // namespace ferrolux::cli
