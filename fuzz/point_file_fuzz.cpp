// A cable's points file of arbitrary bytes: either one placed error, or a fit whose
// coefficients are finite, not negative, and catalog texts that read back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "tools/fit/catalog_build.hpp"
#include "tools/fit/input_checks.hpp"
#include "tools/fit/point_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ferrolux::fit;
  using ferrolux::CoefficientText;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const PointList list = ReadPoints(in, "fuzz.txt");
    const ShippedFit fit = FitPoints(list.points, kDefaultMaxMhz, "fuzz.txt", list.lastLine);
    for (double k : {fit.k.k0, fit.k.k1, fit.k.k2}) {
      if (!(k >= 0) || !std::isfinite(k)) __builtin_trap();
      const std::string text = CoefficientText(k);
      const auto back = ReadNumber(text);
      if (!back || CoefficientText(*back) != text) __builtin_trap();
    }
  } catch (const InputError&) {
  }
  return 0;
}
