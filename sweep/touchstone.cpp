#include "sweep/touchstone.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>

namespace ferrolux {

namespace {

using Complex = std::complex<double>;

enum class Format { kRealImaginary, kMagnitudeAngle, kDecibelAngle };

struct Options {
  double hzPerUnit = 1e9;
  bool impedance = false;  // Z data instead of S
  Format format = Format::kMagnitudeAngle;
  double refOhms = 50;
};

struct ReaderState {
  Options options;
  bool optionsSeen = false;
  bool version2 = false;
  bool inData = true;  // a 1.x file has data anywhere; a 2.0 file only after [Network Data]
  bool ended = false;
  std::optional<std::size_t> frequencies;  // [Number of Frequencies]
  Sweep sweep;
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ',') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<double> Number(std::string_view word) {
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

double FiniteNumber(std::string_view word, std::size_t line) {
  const std::optional<double> value = Number(word);
  if (!value) throw TouchstoneError(line, "\"" + std::string(word) + "\" is not a number");
  if (!std::isfinite(*value)) throw TouchstoneError(line, "a value that is not a finite number");
  return *value;
}

void ReadOptionLine(std::string_view line, std::size_t number, Options& o) {
  const std::vector<std::string_view> words = Words(line.substr(1));
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string w = Lower(words[i]);
    if (w == "hz") o.hzPerUnit = 1;
    else if (w == "khz") o.hzPerUnit = 1e3;
    else if (w == "mhz") o.hzPerUnit = 1e6;
    else if (w == "ghz") o.hzPerUnit = 1e9;
    else if (w == "s") o.impedance = false;
    else if (w == "z") o.impedance = true;
    else if (w == "ri") o.format = Format::kRealImaginary;
    else if (w == "ma") o.format = Format::kMagnitudeAngle;
    else if (w == "db") o.format = Format::kDecibelAngle;
    else if (w == "r" && i + 1 < words.size()) {
      o.refOhms = FiniteNumber(words[++i], number);
      if (!(o.refOhms > 0)) throw TouchstoneError(number, "the reference resistance must be above 0");
    } else {
      throw TouchstoneError(number, "unknown option line: \"" + std::string(line) + "\"");
    }
  }
}

Complex Value(double a, double b, Format format) {
  const double radians = b * std::numbers::pi / 180;
  switch (format) {
    case Format::kRealImaginary: return {a, b};
    case Format::kMagnitudeAngle: return std::polar(a, radians);
    case Format::kDecibelAngle: return std::polar(std::pow(10.0, a / 20), radians);
  }
  return {};
}

Complex Impedance(Complex value, const ReaderState& s) {
  const double ref = s.options.refOhms;
  // 1.x writes Z normalised to R; 2.0 in ohms.
  if (s.options.impedance) return s.version2 ? value : value * ref;
  if (value == Complex(1, 0)) return {std::numeric_limits<double>::infinity(), 0};
  return ref * (1.0 + value) / (1.0 - value);
}

void ReadDataLine(std::string_view line, std::size_t number, ReaderState& s) {
  const std::vector<std::string_view> words = Words(line);
  if (words.size() > 3) throw TouchstoneError(number, "more than one port: a one-port file is needed");
  if (words.size() < 3) throw TouchstoneError(number, "a short line: a frequency and two values are needed");
  std::array<double, 3> v{};
  for (std::size_t i = 0; i < 3; ++i) v[i] = FiniteNumber(words[i], number);
  const double hz = v[0] * s.options.hzPerUnit;
  if (!s.sweep.points.empty() && !(hz > s.sweep.points.back().freqHz))
    throw TouchstoneError(number, "the frequencies do not rise");
  if (s.sweep.points.size() == kMostSweepPoints) throw TouchstoneError(number, "more than 1,000,000 points");
  s.sweep.points.push_back({hz, Impedance(Value(v[1], v[2], s.options.format), s), number});
}

void ReadKeyword(std::string_view line, std::size_t number, ReaderState& s) {
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) throw TouchstoneError(number, "a keyword without its closing ]");
  const std::string keyword = Lower(line.substr(0, close + 1));
  const std::vector<std::string_view> rest = Words(line.substr(close + 1));
  if (keyword == "[version]") {
    s.version2 = true;
    s.inData = false;
  } else if (keyword == "[number of ports]") {
    if (rest.empty() || FiniteNumber(rest[0], number) != 1)
      throw TouchstoneError(number, "more than one port: a one-port file is needed");
  } else if (keyword == "[number of frequencies]") {
    if (rest.empty()) throw TouchstoneError(number, "[Number of Frequencies] without a number");
    // Checked before it becomes a count: a huge or fractional number has no size_t.
    const double count = FiniteNumber(rest[0], number);
    if (count < 0 || count > static_cast<double>(kMostSweepPoints) || count != std::floor(count))
      throw TouchstoneError(number, "[Number of Frequencies] is not a whole number up to 1,000,000");
    s.frequencies = static_cast<std::size_t>(count);
  } else if (keyword == "[reference]") {
    if (!rest.empty()) s.options.refOhms = FiniteNumber(rest[0], number);
  } else if (keyword == "[network data]") {
    s.inData = true;
  } else if (keyword == "[end]") {
    s.ended = true;
  } else if (keyword != "[matrix format]" && keyword != "[begin information]" && keyword != "[end information]") {
    throw TouchstoneError(number, "unknown keyword " + std::string(line.substr(0, close + 1)));
  }
}

void ReadLine(std::string_view line, std::size_t number, ReaderState& s) {
  if (const std::size_t bang = line.find('!'); bang != std::string_view::npos) line = line.substr(0, bang);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  if (line.empty() || s.ended) return;
  if (line.front() == '#') {
    if (!s.optionsSeen) ReadOptionLine(line, number, s.options);
    s.optionsSeen = true;
  } else if (line.front() == '[') {
    ReadKeyword(line, number, s);
  } else if (!s.inData) {
    throw TouchstoneError(number, "data before [Network Data]");
  } else {
    ReadDataLine(line, number, s);
  }
}

std::string Number17(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

}  // namespace

Sweep ReadTouchstone(std::string_view bytes) {
  ReaderState s;
  std::size_t number = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    ReadLine(bytes.substr(0, end), ++number, s);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  if (s.sweep.points.empty()) throw TouchstoneError(number, "no data points");
  if (s.frequencies && *s.frequencies != s.sweep.points.size())
    throw TouchstoneError(number, "[Number of Frequencies] says " + std::to_string(*s.frequencies) + ", the file has " +
                                      std::to_string(s.sweep.points.size()));
  s.sweep.refOhms = s.options.refOhms;
  return s.sweep;
}

std::string WriteTouchstone(const std::vector<SweepPoint>& points, double refOhms,
                            const std::vector<std::string>& comment) {
  std::string out;
  for (const std::string& line : comment) out += "! " + line + '\n';
  out += "# MHz S RI R " + Number17(refOhms) + '\n';
  for (const SweepPoint& p : points) {
    const Complex s = std::isinf(p.z.real()) ? Complex(1, 0) : (p.z - refOhms) / (p.z + refOhms);
    out += Number17(p.freqHz / 1e6) + ' ' + Number17(s.real()) + ' ' + Number17(s.imag()) + '\n';
  }
  return out;
}

}  // namespace ferrolux
