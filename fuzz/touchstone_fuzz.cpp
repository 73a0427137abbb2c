// A sweep file of arbitrary bytes: either one placed error, or rising finite frequencies whose
// impedances write out and read back as the same number of points.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sweep/touchstone.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ferrolux;
  try {
    const Sweep sweep = ReadTouchstone(std::string_view(reinterpret_cast<const char*>(data), size));
    if (sweep.points.empty() || sweep.points.size() > kMostSweepPoints) __builtin_trap();
    for (std::size_t i = 1; i < sweep.points.size(); ++i)
      if (!(sweep.points[i].freqHz > sweep.points[i - 1].freqHz)) __builtin_trap();
    if (sweep.refOhms > 0 && std::isfinite(sweep.refOhms) &&
        ReadTouchstone(WriteTouchstone(sweep.points, sweep.refOhms, {})).points.size() != sweep.points.size())
      __builtin_trap();
  } catch (const TouchstoneError& e) {
    if (e.Line() == 0 && size > 0) __builtin_trap();
  }
  return 0;
}
