#pragma once
// One cable's datasheet points as a ham types them: a frequency in MHz and a loss per line.

#include <filesystem>
#include <istream>
#include <vector>

#include "model/loss_fit.hpp"

namespace ferrolux::fit {

struct PointList {
  std::vector<LossPoint> points;
  int lastLine = 0;  // where a fault of the list as a whole is reported
};

// Fields are separated by blanks, TABs or commas; blank lines and lines starting with # are
// skipped. Throws InputError at the first fault, or when there is no point at all.
PointList ReadPointFile(const std::filesystem::path& file);

// The same from a stream; `file` only names it in the errors.
PointList ReadPoints(std::istream& in, const std::filesystem::path& file);

}  // namespace ferrolux::fit
