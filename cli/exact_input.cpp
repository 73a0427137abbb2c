#include "cli/exact_input.hpp"

#include <optional>
#include <string_view>

#include "cli/command_error.hpp"
#include "cli/settings.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

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

// R, then optionally a sign and X with j before or after it; none for anything else.
std::optional<Complex> ParseImpedance(std::string_view text) {
  const std::size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  const std::size_t rEnd = NumberEnd(text, start);
  if (rEnd == kNone) return std::nullopt;
  const double r = ParseNumber(text.substr(0, rEnd));
  if (rEnd == text.size()) return Complex(r, 0);
  if (text[rEnd] != '+' && text[rEnd] != '-') return std::nullopt;
  const double sign = text[rEnd] == '-' ? -1 : 1;
  const bool jFirst = rEnd + 1 < text.size() && text[rEnd + 1] == 'j';
  const std::size_t xStart = rEnd + (jFirst ? 2 : 1);
  const std::size_t xEnd = NumberEnd(text, xStart);
  if (xEnd == kNone || xEnd + (jFirst ? 0 : 1) != text.size() || (!jFirst && text[xEnd] != 'j')) return std::nullopt;
  return Complex(r, sign * ParseNumber(text.substr(xStart, xEnd - xStart)));
}

}  // namespace

Complex ReadImpedance(const std::string& option, const std::string& text) {
  const std::optional<Complex> z = ParseImpedance(text);
  if (!z) throw UsageError(option + " \"" + text + "\": write an impedance as R, R+jX, R-jX, R+Xj or R-Xj (35-j20)");
  return *z;
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
