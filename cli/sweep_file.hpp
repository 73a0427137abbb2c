#pragma once
// A sweep file as deembed and measure read it: a regular file, read as it arrives (so a file of any
// size costs only its points), every fault said as "FILE: reason" or "FILE:LINE: reason".

#include <string>

#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

// Throws a CommandError (status 1): the system's reason for a file it cannot open or read, "not a
// regular file" for a device, pipe or socket (at once, reading none of it), or the reader's fault.
Sweep ReadSweep(const std::string& file);

}  // namespace ferrolux::cli
