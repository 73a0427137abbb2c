#pragma once
// Faults in the input files, placed by file and line: "cable.txt:4: loss is not a number: x".

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/loss_fit.hpp"

namespace ferrolux::fit {

class InputError : public std::runtime_error {
 public:
  // A line of 0 places the fault in the file as a whole.
  InputError(const std::filesystem::path& file, int line, const std::string& message);
};

// The whole field as a finite decimal number; nothing when any of it is not part of one.
std::optional<double> ReadNumber(std::string_view field);

// One datasheet point from its two fields: both numbers, the frequency and the loss above 0.
LossPoint ReadPoint(std::string_view mhz, std::string_view loss, const std::filesystem::path& file, int line);

inline constexpr size_t kFewestPoints = 3;  // one per coefficient

// The points at or below `maxMhz`, in their order; throws InputError at `line` when fewer
// than kFewestPoints are left.
std::vector<LossPoint> PointsToFit(const std::vector<LossPoint>& points, double maxMhz,
                                   const std::filesystem::path& file, int line);

}  // namespace ferrolux::fit
