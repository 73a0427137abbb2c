#pragma once
// Touchstone 1.x and 2.0 one-port files, as a VNA or an antenna analyser writes them: read into
// impedances by frequency, and written back as Touchstone 1.1.

#include <complex>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ferrolux {

inline constexpr std::size_t kMostSweepPoints = 1'000'000;
// A line's text before any "!" comment; a one-port line needs a tenth of it.
inline constexpr std::size_t kLongestTouchstoneLine = 4096;

struct SweepPoint {
  double freqHz = 0;
  std::complex<double> z;  // ohms; infinite for an open (S = 1)
  std::size_t line = 0;    // where the point stands in its file, for a fault found later
};

struct Sweep {
  std::vector<SweepPoint> points;  // frequencies strictly rising
  double refOhms = 50;             // the file's reference resistance
};

// What is wrong with a file, and on which line (1 = the first; 0 = the file as a whole).
class TouchstoneError : public std::runtime_error {
 public:
  TouchstoneError(std::size_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
  std::size_t Line() const { return line_; }

 private:
  std::size_t line_;
};

// Reads a file as it arrives, in pieces of any size, holding no more than one line of it: a file
// of any size costs the memory of its points. Lines end in LF, CR LF or CR alone; a UTF-8 byte
// order mark before the first line is skipped. Read and Finish throw TouchstoneError for anything
// but a one-port of S or Z data at rising frequencies above 0: two ports, an unknown option line
// or keyword, a short or overlong line, a value that is no finite number, more than a million
// points. A message quotes at most 80 characters of the file, with its controls as pictures.
class TouchstoneReader {
 public:
  TouchstoneReader();
  ~TouchstoneReader();
  TouchstoneReader(const TouchstoneReader&) = delete;
  TouchstoneReader& operator=(const TouchstoneReader&) = delete;

  void Read(std::string_view bytes);
  Sweep Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The whole file at once, through TouchstoneReader.
Sweep ReadTouchstone(std::string_view bytes);

// "# MHz S RI R <ref>", then the comment as one "!" line (its controls as pictures, so it can
// never start a line of its own), then one line per point.
std::string WriteTouchstone(const std::vector<SweepPoint>& points, double refOhms, std::string_view comment);

// The same onto `out`, the `count` points made one at a time by `point`: a long sweep is never
// held as text, nor as a list.
void WriteTouchstone(std::ostream& out, std::size_t count, const std::function<SweepPoint(std::size_t)>& point,
                     double refOhms, std::string_view comment);

}  // namespace ferrolux
