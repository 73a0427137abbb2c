#include "tools/fit/input_checks.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/utf8_args.hpp"

namespace ferrolux::fit {

namespace {

std::string Place(const std::filesystem::path& file, int line) {
  std::string place = platform::Utf8OfPath(file);
  if (line > 0) place.append(":").append(std::to_string(line));
  return place.append(": ");
}

double CheckedNumber(std::string_view field, const char* what, const std::filesystem::path& file, int line) {
  const auto value = ReadNumber(field);
  if (!value) throw InputError(file, line, std::string(what) + " is not a number: " + std::string(field));
  if (!(*value > 0)) throw InputError(file, line, std::string(what) + " must be above 0: " + std::string(field));
  return *value;
}

}  // namespace

InputError::InputError(const std::filesystem::path& file, int line, const std::string& message)
    : std::runtime_error(Place(file, line) + message) {}

std::optional<double> ReadNumber(std::string_view field) {
  double value = 0;
  const char* end = field.data() + field.size();
  const auto [stop, fault] = std::from_chars(field.data(), end, value);
  if (field.empty() || fault != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

LossPoint ReadPoint(std::string_view mhz, std::string_view loss, const std::filesystem::path& file, int line) {
  return {CheckedNumber(mhz, "frequency", file, line), CheckedNumber(loss, "loss", file, line)};
}

std::vector<LossPoint> PointsToFit(const std::vector<LossPoint>& points, double maxMhz,
                                   const std::filesystem::path& file, int line) {
  std::vector<LossPoint> kept;
  std::copy_if(points.begin(), points.end(), std::back_inserter(kept),
               [maxMhz](const LossPoint& p) { return p.mhz <= maxMhz; });
  if (kept.size() < kFewestPoints) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", maxMhz);
    throw InputError(file, line,
                     "the fit needs at least " + std::to_string(kFewestPoints) + " points up to " + limit +
                         " MHz, found " + std::to_string(kept.size()));
  }
  return kept;
}

}  // namespace ferrolux::fit
