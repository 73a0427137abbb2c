// A feed-line path typed as any text, then worked out at any frequency and load: the parser
// either reads it or names a bad element, and the figures hold no nan.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/path_range.hpp"
#include "model/path_text.hpp"

namespace {

// "A" is one cable, "AB" two and a lossless one "L"; no other name is found.
ferrolux::CableLookup Find(const std::string& typed) {
  const ferrolux::PathCable a{"A", {50, 0.66, 0.1, 0.4, 0.01}, 0, 0}, b{"B", {75, 0, 0, 0.3, 0}, 0, 0};
  if (typed == "A") return {{a}, {}};
  if (typed == "AB") return {{a, b}, {}};
  if (typed == "L") return {{{"L", {50, 0.8, 0, 0, 0}, 0, 0}}, {}};
  return {{}, {"A"}};
}

bool HasNan(const ferrolux::PathFigures& f) {
  for (const ferrolux::Joint& j : f.joints)
    if (std::isnan(j.z.real()) || std::isnan(j.z.imag()) || std::isnan(j.swr) || std::isnan(j.powerW)) return true;
  for (const ferrolux::ElementFigures& e : f.elements)
    if (std::isnan(e.lossDb) || std::isnan(e.lossW) || std::isnan(e.peakVolts) || std::isnan(e.peakAmps)) return true;
  return std::isnan(f.totalLossDb) || std::isnan(f.powerOutW);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double numbers[3] = {};  // MHz, load R, load X
  if (size < sizeof numbers) return 0;
  std::memcpy(numbers, data, sizeof numbers);
  const std::string text(reinterpret_cast<const char*>(data) + sizeof numbers, size - sizeof numbers);
  std::vector<ferrolux::PathElement> path;
  try {
    path = ferrolux::ParsePath(text, Find);
  } catch (const ferrolux::PathTextError& e) {
    if (e.Place() == 0) __builtin_trap();
    return 0;
  }
  const double mhz = std::fabs(numbers[0]), r = std::fabs(numbers[1]);
  if (!std::isfinite(mhz) || !std::isfinite(r) || !std::isfinite(numbers[2]) || path.size() > 20) return 0;
  if (HasNan(ferrolux::SolvePath(path, mhz, {r, numbers[2]}, 50, 100))) __builtin_trap();
  ferrolux::PathSwrRange(path, mhz, 1 + r, 50, 100);
  return 0;
}
