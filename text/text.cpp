#include "text/text.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ferrolux {

namespace {

bool IsDigitOfBase(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value >= 0 && value < base;
}

double ParseWholeNumber(std::string_view digits, int base) {
  double value = 0;
  for (char c : digits) {
    if (!IsDigitOfBase(c, base)) break;
    const int digit = (c <= '9') ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * base + digit;
  }
  return value;
}

int BaseOfPrefix(char letter) {
  switch (letter) {
    case 'H':
    case 'h': return 16;
    case 'O':
    case 'o':
    case 'Q':
    case 'q': return 8;
    case 'B':
    case 'b': return 2;
    default: return 0;
  }
}

// Copies the longest "[+-]digits[.digits][(E|D)[+-]digits]" prefix, with D turned into E,
// so that strtod reads exactly what the number rules accept.
std::string DecimalPrefix(std::string_view text) {
  std::string out;
  size_t i = 0;
  auto digits = [&] {
    size_t count = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') out += text[i++], ++count;
    return count;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
  size_t mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    out += text[i++];
    mantissa += digits();
  }
  if (mantissa == 0) return {};
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    const std::string before = out;
    out += 'E';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    if (digits() == 0) out = before;
  }
  return out;
}

}  // namespace

double ParseNumber(std::string_view text) {
  size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  if (text.size() >= 2 && text[0] == '&') {
    const int base = BaseOfPrefix(text[1]);
    return base == 0 ? 0 : ParseWholeNumber(text.substr(2), base);
  }
  const std::string prefix = DecimalPrefix(text);
  return prefix.empty() ? 0 : std::strtod(prefix.c_str(), nullptr);
}

std::optional<double> ReadDecimal(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FirstField(std::string_view line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  if (line.front() == '"') {
    line.remove_prefix(1);
    return std::string(line.substr(0, line.find('"')));
  }
  return std::string(line.substr(0, line.find(',')));
}

std::string NumberText(long long value) { return std::string(value < 0 ? "" : " ").append(std::to_string(value)); }

namespace {

// Splits the correctly rounded N-significant-digit form of |value| into its digits
// (trailing zeros dropped) and the decimal exponent of the first digit.
void SignificantDigits(double magnitude, int digits, std::string& mantissa, int& exponent) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, magnitude);
  const std::string text = buffer;
  const size_t e = text.find('e');
  mantissa.clear();
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') mantissa += text[i];
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  exponent = std::atoi(text.c_str() + e + 1);
}

std::string PlainForm(const std::string& mantissa, int exponent) {
  const int length = static_cast<int>(mantissa.size());
  if (exponent < 0) return std::string(".").append(-exponent - 1, '0').append(mantissa);
  if (length <= exponent + 1) return mantissa + std::string(exponent + 1 - length, '0');
  return mantissa.substr(0, exponent + 1) + "." + mantissa.substr(exponent + 1);
}

std::string ExponentForm(const std::string& mantissa, int exponent) {
  std::string text = mantissa.substr(0, 1);
  if (mantissa.size() > 1) text.append(".").append(mantissa, 1);
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + tail;
}

}  // namespace

std::string FixedText(double value, int decimals) {
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return result.ec == std::errc{} ? std::string(buffer.data(), result.ptr) : "?";
}

std::string PlainNumberText(double value, int digits) {
  if (std::isnan(value)) return "nan";  // a NaN's sign bit means nothing
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return "0";
  std::string mantissa;
  int exponent = 0;
  SignificantDigits(std::fabs(value), digits, mantissa, exponent);
  const int placesAfterPoint = static_cast<int>(mantissa.size()) - 1 - exponent;
  const bool plain = exponent < digits && placesAfterPoint <= digits;
  const std::string text = plain ? PlainForm(mantissa, exponent) : ExponentForm(mantissa, exponent);
  return value < 0 ? "-" + text : text;
}

double RoundHalfEven(double x, int places) {
  const double scale = std::pow(10.0, places);
  // The default rounding mode sends ties to even.
  return std::nearbyint(x * scale) / scale;
}

std::string PrintedNumberText(double value, int digits) {
  return std::string(value < 0 ? "" : " ").append(PlainNumberText(value, digits)).append(" ");
}

std::array<std::string, 3> OverflowReportLines(const std::string& message, int upperBound, int count) {
  constexpr int kDigits = 15;
  return {"             Error: " + message, "     Array Boundry:" + PrintedNumberText(upperBound, kDigits),
          "Number of Elements:" + PrintedNumberText(count, kDigits)};
}

char UpperCaseChar(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  switch (code) {                             // code-page 437 pairs
    case 132: return static_cast<char>(142);  // ä Ä
    case 148: return static_cast<char>(153);  // ö Ö
    case 129: return static_cast<char>(154);  // ü Ü
    case 130: return static_cast<char>(144);  // é É
    case 164: return static_cast<char>(165);  // ñ Ñ
    case 134: return static_cast<char>(143);  // å Å
    case 135: return static_cast<char>(128);  // ç Ç
    default: return c;
  }
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperCaseChar(c);
  return out;
}

std::string TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string Blanks(int count) { return std::string(count > 0 ? count : 0, ' '); }

}  // namespace ferrolux
