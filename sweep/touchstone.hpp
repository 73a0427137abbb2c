#pragma once
// Touchstone 1.x and 2.0 one-port files, as a VNA or an antenna analyser writes them: read into
// impedances by frequency, and written back as Touchstone 1.1.

#include <complex>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ferrolux {

inline constexpr std::size_t kMostSweepPoints = 1'000'000;

struct SweepPoint {
  double freqHz = 0;
  std::complex<double> z;  // ohms; infinite for an open (S = 1)
  std::size_t line = 0;    // where the point stands in its file, for a fault found later
};

struct Sweep {
  std::vector<SweepPoint> points;  // frequencies strictly rising
  double refOhms = 50;             // the file's reference resistance
};

// What is wrong with a file, and on which line (1 = the first).
class TouchstoneError : public std::runtime_error {
 public:
  TouchstoneError(std::size_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
  std::size_t Line() const { return line_; }

 private:
  std::size_t line_;
};

// Throws TouchstoneError for anything but a one-port of S or Z data with rising frequencies:
// two ports, an unknown option line or keyword, a short line, a NaN, more than a million points.
Sweep ReadTouchstone(std::string_view bytes);

// "# MHz S RI R <ref>", then one line per point; `comment` lines first, each after "! ".
std::string WriteTouchstone(const std::vector<SweepPoint>& points, double refOhms,
                            const std::vector<std::string>& comment);

}  // namespace ferrolux
