#include "sweep/touchstone.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "text/charset.hpp"

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

// Whether a decimal beyond a double's range lies below it (and so reads as 0) rather than above.
bool BelowDoubleRange(std::string_view word) {
  const std::size_t e = word.find_first_of("eE");
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view text = word.substr(e + 1);
    if (text.starts_with('+')) text.remove_prefix(1);
    if (std::from_chars(text.data(), text.data() + text.size(), exponent).ec != std::errc())
      return text.starts_with('-');
  }
  constexpr long long kFarBeyondAnyPlace = 1'000'000'000'000;
  if (exponent > kFarBeyondAnyPlace || exponent < -kFarBeyondAnyPlace) return exponent < 0;
  const std::string_view digits = word.substr(0, e);
  const std::size_t point = std::min(digits.find('.'), digits.size());
  const std::size_t first = digits.find_first_of("123456789");
  if (first == std::string_view::npos) return true;
  // The power of ten of the first significant digit.
  const auto place = first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
  return exponent + place < 0;
}

// A decimal as instruments write it, a leading "+" included; one too small for a double reads
// as 0, one too large as infinite.
std::optional<double> Number(std::string_view word) {
  if (word.size() > 1 && word[0] == '+' && word[1] != '+' && word[1] != '-') word.remove_prefix(1);
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (stop != end) return std::nullopt;
  if (error == std::errc::result_out_of_range)
    return BelowDoubleRange(word) ? 0.0 : std::numeric_limits<double>::infinity();
  if (error != std::errc()) return std::nullopt;
  return value;
}

double FiniteNumber(std::string_view word, std::size_t line) {
  const std::optional<double> value = Number(word);
  if (!value) throw TouchstoneError(line, QuotedExcerpt(word) + " is not a number");
  if (!std::isfinite(*value)) throw TouchstoneError(line, QuotedExcerpt(word) + " is not a finite number");
  return *value;
}

double ReferenceOhms(std::string_view word, std::size_t line) {
  const double ohms = FiniteNumber(word, line);
  if (!(ohms > 0)) throw TouchstoneError(line, "the reference resistance must be above 0");
  return ohms;
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
      o.refOhms = ReferenceOhms(words[++i], number);
    } else {
      throw TouchstoneError(number, "unknown option line: " + QuotedExcerpt(line));
    }
  }
}

Complex Value(double a, double b, Format format, std::size_t line) {
  if (format == Format::kMagnitudeAngle && a < 0) throw TouchstoneError(line, "a magnitude below 0");
  const double radians = b * std::numbers::pi / 180;
  switch (format) {
    case Format::kRealImaginary: return {a, b};
    case Format::kMagnitudeAngle: return std::polar(a, radians);
    case Format::kDecibelAngle: return std::polar(std::pow(10.0, a / 20), radians);
  }
  return {};
}

// An S of 1, or so near it that the impedance has no figure, is an open.
Complex Impedance(Complex value, const ReaderState& s, std::size_t line) {
  if (!std::isfinite(value.real()) || !std::isfinite(value.imag()))
    throw TouchstoneError(line, "a value too large for any reflection or impedance");
  const double ref = s.options.refOhms;
  // 1.x writes Z normalised to R; 2.0 in ohms.
  const Complex z = s.options.impedance ? (s.version2 ? value : value * ref) : ref * (1.0 + value) / (1.0 - value);
  if (std::isfinite(z.real()) && std::isfinite(z.imag())) return z;
  if (s.options.impedance) throw TouchstoneError(line, "an impedance too large to hold");
  return {std::numeric_limits<double>::infinity(), 0};
}

double Frequency(double value, const Options& o, std::size_t line) {
  const double hz = value * o.hzPerUnit;
  if (!(hz > 0)) throw TouchstoneError(line, "a frequency of 0 or below");
  if (!std::isfinite(hz)) throw TouchstoneError(line, "a frequency too large to hold in Hz");
  return hz;
}

void ReadDataLine(std::string_view line, std::size_t number, ReaderState& s) {
  const std::vector<std::string_view> words = Words(line);
  if (words.size() > 3) throw TouchstoneError(number, "more than one port: a one-port file is needed");
  if (words.size() < 3) throw TouchstoneError(number, "a short line: a frequency and two values are needed");
  std::array<double, 3> v{};
  for (std::size_t i = 0; i < 3; ++i) v[i] = FiniteNumber(words[i], number);
  const double hz = Frequency(v[0], s.options, number);
  if (!s.sweep.points.empty() && !(hz > s.sweep.points.back().freqHz))
    throw TouchstoneError(number, "the frequencies do not rise");
  if (s.sweep.points.size() == kMostSweepPoints) throw TouchstoneError(number, "more than 1,000,000 points");
  s.sweep.points.push_back({hz, Impedance(Value(v[1], v[2], s.options.format, number), s, number), number});
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
    if (!rest.empty()) s.options.refOhms = ReferenceOhms(rest[0], number);
  } else if (keyword == "[network data]") {
    s.inData = true;
  } else if (keyword == "[end]") {
    s.ended = true;
  } else if (keyword != "[matrix format]" && keyword != "[begin information]" && keyword != "[end information]") {
    throw TouchstoneError(number, "unknown keyword " + QuotedExcerpt(line.substr(0, close + 1)));
  }
}

// One line without its line end or comment.
void ReadLine(std::string_view line, std::size_t number, ReaderState& s) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
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

struct TouchstoneReader::State {
  ReaderState reader;
  std::string line;        // the text of the line being read, up to any "!"
  bool inComment = false;  // past a "!": the rest of the line is not held
  bool afterCr = false;    // a LF next ends no line: CR LF is one line end
  std::size_t lines = 0;   // lines ended so far

  void Hold(std::string_view piece) {
    if (inComment) return;
    if (const std::size_t bang = piece.find('!'); bang != std::string_view::npos) {
      piece = piece.substr(0, bang);
      inComment = true;
    }
    if (line.size() + piece.size() > kLongestTouchstoneLine)
      throw TouchstoneError(lines + 1, "a line longer than 4,096 characters before any ! comment");
    line += piece;
  }

  void EndLine() {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::string_view text = line;
    if (++lines == 1 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    ReadLine(text, lines, reader);
    line.clear();
    inComment = false;
  }
};

TouchstoneReader::TouchstoneReader() : state_(std::make_unique<State>()) {}
TouchstoneReader::~TouchstoneReader() = default;

void TouchstoneReader::Read(std::string_view bytes) {
  State& s = *state_;
  while (!bytes.empty()) {
    if (s.afterCr && bytes.front() == '\n') bytes.remove_prefix(1);
    s.afterCr = false;
    const std::size_t end = bytes.find_first_of("\r\n");
    s.Hold(bytes.substr(0, end));
    if (end == std::string_view::npos) return;
    s.afterCr = bytes[end] == '\r';
    s.EndLine();
    bytes.remove_prefix(end + 1);
  }
}

Sweep TouchstoneReader::Finish() {
  State& s = *state_;
  if (!s.line.empty() || s.inComment) s.EndLine();  // the last line, without a line end
  if (s.lines == 0) throw TouchstoneError(0, "an empty file");
  Sweep& sweep = s.reader.sweep;
  if (sweep.points.empty()) throw TouchstoneError(s.lines, "no data points");
  if (s.reader.frequencies && *s.reader.frequencies != sweep.points.size())
    throw TouchstoneError(s.lines, "[Number of Frequencies] says " + std::to_string(*s.reader.frequencies) +
                                       ", the file has " + std::to_string(sweep.points.size()));
  sweep.refOhms = s.reader.options.refOhms;
  return std::move(sweep);
}

Sweep ReadTouchstone(std::string_view bytes) {
  TouchstoneReader reader;
  reader.Read(bytes);
  return reader.Finish();
}

std::string WriteTouchstone(const std::vector<SweepPoint>& points, double refOhms, std::string_view comment) {
  std::ostringstream out;
  WriteTouchstone(
      out, points.size(), [&points](std::size_t i) { return points[i]; }, refOhms, comment);
  return std::move(out).str();
}

void WriteTouchstone(std::ostream& out, std::size_t count, const std::function<SweepPoint(std::size_t)>& point,
                     double refOhms, std::string_view comment) {
  out << "# MHz S RI R " << Number17(refOhms) << '\n';
  if (!comment.empty()) out << "! " << TerminalText(comment) << '\n';
  for (std::size_t i = 0; i < count; ++i) {
    const SweepPoint p = point(i);
    const Complex s = std::isinf(p.z.real()) ? Complex(1, 0) : (p.z - refOhms) / (p.z + refOhms);
    out << Number17(p.freqHz / 1e6) << ' ' << Number17(s.real()) << ' ' << Number17(s.imag()) << '\n';
  }
}

}  // namespace ferrolux
