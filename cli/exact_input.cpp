#include "cli/exact_input.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/command_error.hpp"
#include "cli/settings.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kBlanks = " \t";

// The minus sign a web page or a PDF gives when copied (U+2212); the ohm signs (U+03A9, U+2126).
constexpr std::string_view kUnicodeMinus = "\xE2\x88\x92";
constexpr std::string_view kOhmSuffixes[] = {"\xCE\xA9", "\xE2\x84\xA6", "ohms", "ohm"};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == kNone) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool EndsWithLetterCaseAside(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && UpperCase(text.substr(text.size() - suffix.size())) == UpperCase(suffix);
}

// The impedance without what only dresses it: blanks at either end, an ohm suffix, the
// parentheses of "(38-22j)", and with the Unicode minus as '-'.
std::string Undressed(std::string_view typed) {
  std::string text;
  for (std::string_view rest = Trimmed(typed); !rest.empty();) {
    const std::size_t minus = rest.find(kUnicodeMinus);
    text.append(rest.substr(0, minus));
    if (minus == kNone) break;
    text.push_back('-');
    rest.remove_prefix(minus + kUnicodeMinus.size());
  }
  for (std::string_view suffix : kOhmSuffixes) {
    if (!EndsWithLetterCaseAside(text, suffix)) continue;
    text = Trimmed(std::string_view(text).substr(0, text.size() - suffix.size()));
    break;
  }
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') text = Trimmed(text.substr(1, text.size() - 2));
  return text;
}

// The end of a plain decimal number (digits, at most one point) starting at `at`; none when
// there is no digit.
std::size_t NumberEnd(std::string_view text, std::size_t at) {
  bool digit = false, point = false;
  std::size_t i = at;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') digit = true;
    else if (text[i] == '.' && !point) point = true;
    else break;
  }
  return digit ? i : kNone;
}

bool IsImaginaryUnit(std::string_view text, std::size_t at) {
  return at < text.size() && std::string_view("jJiI").find(text[at]) != kNone;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  return std::min(text.find_first_not_of(kBlanks, at), text.size());
}

// X after its sign, with the unit before or after the number ("j22", "22j"); none unless that
// is all there is.
std::optional<double> Reactance(std::string_view text) {
  const bool unitFirst = IsImaginaryUnit(text, 0);
  const std::size_t start = unitFirst ? 1 : 0;
  const std::size_t end = NumberEnd(text, start);
  if (end == kNone || end + (unitFirst ? 0 : 1) != text.size() || (!unitFirst && !IsImaginaryUnit(text, end)))
    return std::nullopt;
  return ParseNumber(text.substr(start, end - start));
}

struct Parsed {
  std::optional<Complex> z;
  std::string_view notUnderstood;  // the part that stopped the reading
};

// R, then optionally a sign and X, blanks allowed around the sign.
Parsed ParseImpedance(std::string_view text) {
  const std::size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  const std::size_t rEnd = NumberEnd(text, start);
  if (rEnd == kNone) return {std::nullopt, text};
  const double r = ParseNumber(text.substr(0, rEnd));
  const std::size_t signAt = SkipBlanks(text, rEnd);
  if (signAt == text.size()) return {Complex(r, 0), {}};
  const std::string_view rest = text.substr(signAt);
  if (rest[0] != '+' && rest[0] != '-') return {std::nullopt, rest};
  const std::optional<double> x = Reactance(text.substr(SkipBlanks(text, signAt + 1)));
  if (!x) return {std::nullopt, rest};
  return {Complex(r, rest[0] == '-' ? -*x : *x), {}};
}

}  // namespace

Complex ReadImpedance(const std::string& option, const std::string& text) {
  const std::string undressed = Undressed(text);
  const Parsed parsed = ParseImpedance(undressed);
  if (parsed.z) return *parsed.z;
  const bool whole = parsed.notUnderstood.empty() || parsed.notUnderstood.size() == undressed.size();
  const std::string what = whole ? QuotedTyped(text) : QuotedTyped(parsed.notUnderstood) + " in " + QuotedTyped(text);
  throw UsageError(option + ": " + what + " is not understood; write an impedance in ohms as R, R+jX or R-jX (35-j20)");
}

ExactRequest ReadExactRequest(const ExactTexts& texts) {
  ExactRequest r;
  r.input = ExactInput::kShackSwr;
  if (!texts.vf.empty()) r.velocityFactor = ReadVelocityFactor("--vf", texts.vf);
  if (!texts.refOhms.empty()) r.refOhms = ReadNumber("--ref-ohms", texts.refOhms);
  const std::string& z = texts.antennaZ.empty() ? texts.shackZ : texts.antennaZ;
  if (z.empty()) return r;
  r.input = texts.antennaZ.empty() ? ExactInput::kShackZ : ExactInput::kAntennaZ;
  r.z = ReadImpedance(texts.antennaZ.empty() ? "--shack-z" : "--antenna-z", z);
  return r;
}

void CheckLineData(const ExactRequest& request, const ExactTexts& texts, const CatalogCable& cable) {
  if (request.input == ExactInput::kShackSwr || HasLineData(cable.numbers, request.velocityFactor)) return;
  const std::string option = texts.antennaZ.empty() ? "--shack-z" : "--antenna-z";
  if (!HasLineData(cable.numbers, request.velocityFactor))
    throw UsageError(option + ": the catalog gives no " +
                     (cable.numbers.impedanceOhms > 0 ? "velocity factor (give --vf)" : "impedance") +
                     " for this cable");
}

}  // namespace ferrolux::cli
