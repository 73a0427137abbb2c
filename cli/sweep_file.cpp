#include "cli/sweep_file.hpp"

#include "cli/command_error.hpp"
#include "sweep/sweep_file.hpp"

namespace ferrolux::cli {

Sweep ReadSweep(const std::string& file) {
  try {
    return ReadSweepFromFile(file);
  } catch (const SweepFileError& fault) {
    throw CommandError(kExitFailure, fault.what());
  }
}

}  // namespace ferrolux::cli
