#include "cli/exact_input.hpp"

#include <regex>

#include "cli/command_error.hpp"
#include "cli/settings.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

const std::string kNumber = R"((?:\d+\.?\d*|\.\d+))";
const std::regex kImpedance("([+-]?" + kNumber + ")(?:([+-])(?:j(" + kNumber + ")|(" + kNumber + ")j))?");

}  // namespace

Complex ReadImpedance(const std::string& option, const std::string& text) {
  std::smatch m;
  if (!std::regex_match(text, m, kImpedance))
    throw UsageError(option + " \"" + text + "\": write an impedance as R, R+jX, R-jX, R+Xj or R-Xj (35-j20)");
  double x = 0;
  if (m[2].matched) {
    x = ParseNumber(m[3].matched ? m[3].str() : m[4].str());
    if (m[2] == "-") x = -x;
  }
  return {ParseNumber(m[1].str()), x};
}

ExactRequest ReadExactRequest(const ExactTexts& texts) {
  ExactRequest r;
  r.input = ExactInput::kShackSwr;
  if (!texts.vf.empty()) r.velocityFactor = ReadNumber("--vf", texts.vf);
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
