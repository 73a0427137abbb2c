#pragma once
// A sweep file as deembed, measure and tdr read it: a regular file, read as it arrives (so a file
// of any size costs only its points), every fault said as "FILE: reason" or "FILE:LINE: reason".

#include <stdexcept>
#include <string>

#include "sweep/touchstone.hpp"

namespace ferrolux {

// The file named and the reason, ready to be shown as it is.
class SweepFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws a SweepFileError: the system's reason for a file it cannot open or read, "not a regular
// file" for a device, pipe or socket (at once, reading none of it), or the reader's fault.
Sweep ReadSweepFromFile(const std::string& file);

}  // namespace ferrolux
