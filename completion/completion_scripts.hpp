#pragma once
// The completion scripts of the four shells, written from the command line's description.

#include <string>

#include "completion/completion.hpp"

namespace ferrolux::cli {

std::string BashCompletion(const CompletionModel& model);
std::string ZshCompletion(const CompletionModel& model);
std::string FishCompletion(const CompletionModel& model);
std::string PowerShellCompletion(const CompletionModel& model);

}  // namespace ferrolux::cli
