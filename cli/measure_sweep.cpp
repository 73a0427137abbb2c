#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "cli/command_error.hpp"
#include "cli/measure.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

constexpr size_t kMostPoints = 1000000;
constexpr double kDegrees = 180 / std::numbers::pi;
constexpr double kDbPerDecade = 20;

struct OptionLine {
  double mhzPerUnit = 1000;  // GHz
  bool impedance = false;    // Z, else S
  std::string format = "MA";
  double reference = 50;
};

CommandError Fault(const std::string& file, int line, const std::string& what) {
  return CommandError(kExitFailure, file + ":" + std::to_string(line) + ": " + what);
}

OptionLine ReadOptionLine(const std::string& text, const std::string& file, int line) {
  OptionLine o;
  std::istringstream words(text.substr(1));
  for (std::string word; words >> word;) {
    const std::string w = UpperCase(word);
    if (w == "HZ" || w == "KHZ" || w == "MHZ" || w == "GHZ")
      o.mhzPerUnit = w == "HZ" ? 1e-6 : w == "KHZ" ? 1e-3 : w == "MHZ" ? 1 : 1e3;
    else if (w == "S" || w == "Z") o.impedance = w == "Z";
    else if (w == "RI" || w == "MA" || w == "DB") o.format = w;
    else if (w == "R" && (words >> o.reference) && o.reference > 0) continue;
    else throw Fault(file, line, "an option line this program does not read: " + text);
  }
  return o;
}

std::complex<double> Value(const OptionLine& o, double a, double b) {
  if (o.format == "RI") return {a, b};
  const double magnitude = o.format == "DB" ? std::pow(10, a / kDbPerDecade) : a;
  return std::polar(magnitude, b / kDegrees);
}

SweepReading Point(const OptionLine& o, const std::string& text, const std::string& file, int line) {
  std::istringstream numbers(text);
  double f = 0, a = 0, b = 0, extra = 0;
  if (!(numbers >> f >> a >> b)) throw Fault(file, line, "a point needs a frequency and two numbers");
  if (numbers >> extra) throw Fault(file, line, "more than one port: measure reads one-port sweeps");
  if (!std::isfinite(f) || !std::isfinite(a) || !std::isfinite(b))
    throw Fault(file, line, "a number that is not finite");
  const std::complex<double> v = Value(o, a, b);
  const std::complex<double> z = o.impedance ? v * o.reference : o.reference * (1.0 + v) / (1.0 - v);
  const double reflection = o.impedance ? std::abs((z - o.reference) / (z + o.reference)) : std::abs(v);
  return {f * o.mhzPerUnit, z, reflection, line};
}

}  // namespace

SweepFile ReadSweepFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw CommandError(kExitFailure, name + ": cannot be read");
  SweepFile sweep{name, {}};
  OptionLine options;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    line = line.substr(0, line.find('!'));
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (line[line.find_first_not_of(" \t")] == '#') {
      options = ReadOptionLine(line.substr(line.find('#')), name, number);
      continue;
    }
    const SweepReading p = Point(options, line, name, number);
    if (!sweep.points.empty() && !(p.mhz > sweep.points.back().mhz))
      throw Fault(name, number, "the frequencies must rise");
    if (sweep.points.size() == kMostPoints) throw Fault(name, number, "more than 1,000,000 points");
    sweep.points.push_back(p);
  }
  if (sweep.points.empty()) throw CommandError(kExitFailure, name + ": no points");
  return sweep;
}

}  // namespace ferrolux::cli
