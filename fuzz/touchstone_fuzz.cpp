// A sweep file of arbitrary bytes, whole or in two pieces: the same one placed error, whose text
// holds no control character and no more than a short quote of the file, or the same rising
// frequencies above 0 with impedances that are figures (or an open), which write out and read
// back as the same number of points.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sweep/touchstone.hpp"

namespace {

using ferrolux::Sweep;
using ferrolux::TouchstoneError;

struct Outcome {
  std::size_t points = 0;
  std::size_t line = 0;
  std::string what;
};

Outcome Read(std::string_view bytes, std::size_t split) {
  ferrolux::TouchstoneReader reader;
  try {
    reader.Read(bytes.substr(0, split));
    reader.Read(bytes.substr(split));
    return {reader.Finish().points.size(), 0, ""};
  } catch (const TouchstoneError& e) {
    return {0, e.Line(), e.what()};
  }
}

bool Clean(std::string_view message) {
  for (const char c : message)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  return message.size() < 400;
}

void CheckSweep(const Sweep& sweep) {
  for (std::size_t i = 0; i < sweep.points.size(); ++i) {
    const ferrolux::SweepPoint& p = sweep.points[i];
    if (!(p.freqHz > 0) || !std::isfinite(p.freqHz)) __builtin_trap();
    if (i > 0 && !(p.freqHz > sweep.points[i - 1].freqHz)) __builtin_trap();
    const bool open = std::isinf(p.z.real()) && p.z.imag() == 0;
    if (!open && !(std::isfinite(p.z.real()) && std::isfinite(p.z.imag()))) __builtin_trap();
  }
  if (!(sweep.refOhms > 0) || !std::isfinite(sweep.refOhms)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const Sweep sweep = ferrolux::ReadTouchstone(bytes);
    if (sweep.points.empty() || sweep.points.size() > ferrolux::kMostSweepPoints) __builtin_trap();
    CheckSweep(sweep);
    if (ferrolux::ReadTouchstone(ferrolux::WriteTouchstone(sweep.points, sweep.refOhms, bytes)).points.size() !=
        sweep.points.size())
      __builtin_trap();
  } catch (const TouchstoneError& e) {
    if ((e.Line() == 0) != (size == 0) || !Clean(e.what())) __builtin_trap();
  }
  const Outcome whole = Read(bytes, size), pieces = Read(bytes, size / 2);
  if (whole.points != pieces.points || whole.line != pieces.line || whole.what != pieces.what) __builtin_trap();
  return 0;
}
