#include "cli/settings.hpp"

#include <cmath>
#include <limits>
#include <optional>

#include "cli/command_error.hpp"
#include "model/bands.hpp"
#include "model/element_path.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

// Case-insensitive: 30M and 100FT are meant as plainly as 30m and 100ft.
bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() > tail.size() && UpperCase(text.substr(text.size() - tail.size())) == UpperCase(tail);
}

// The whole text as a finite decimal number that a float can hold, or none.
bool ParseWhole(const std::string& text, double& value) {
  const std::optional<double> read = ReadDecimal(text);
  if (!read || std::fabs(*read) > std::numeric_limits<float>::max()) return false;
  value = *read;
  return true;
}

std::string BandNames() {
  std::string names;
  for (const Band& band : kBands) names.append(names.empty() ? "" : " ").append(band.name);
  return names;
}

const Band& FindBand(const std::string& name) {
  for (const Band& band : kBands)
    if (UpperCase(band.name) == UpperCase(name)) return band;
  throw UsageError("--band: no band \"" + name + "\"; the bands are " + BandNames());
}

}  // namespace

double ReadNumber(const std::string& option, const std::string& text) {
  double value = 0;
  if (!ParseWhole(text, value)) throw UsageError(option + ": \"" + text + "\" is not a number");
  if (value <= 0) throw UsageError(option + ": " + text + " is not above 0");
  return value;
}

constexpr double kLightSpeedShare = 1;

double ReadVelocityFactor(const std::string& option, const std::string& text) {
  const double vf = ReadNumber(option, text);
  if (vf > kLightSpeedShare) throw UsageError(option + ": " + text + " is above 1");
  if (vf < kSlowestVelocityFactor) throw UsageError(option + ": " + text + " is below 0.1");
  return vf;
}

Length ReadLength(const std::string& text, bool metric) { return ReadLength("--length", text, metric); }

Length ReadLength(const std::string& option, const std::string& text, bool metric) {
  std::string number = text;
  bool metres = metric;
  if (EndsWith(text, "ft")) {
    number.resize(text.size() - 2);
    metres = false;
  } else if (EndsWith(text, "m")) {
    number.resize(text.size() - 1);
    metres = true;
  }
  double value = 0;
  if (!ParseWhole(number, value)) throw UsageError(option + ": \"" + text + "\" is not a length (50, 50ft or 15m)");
  if (value < 0) throw UsageError(option + ": " + text + " is below 0");
  return metres ? Length{value / kMetresPerFoot, value, true} : Length{value, value * kMetresPerFoot, false};
}

double BandCentreMHz(const std::string& name) { return ParseNumber(FindBand(name).centreMHz); }

std::string DescribeSettings(const Settings& s) {
  return DescribeRun(s) + ", SWR " + PlainNumberText(s.shackSwr, 7) + ":1 in the shack";
}

std::string DescribeRun(const Settings& s) {
  constexpr int kDigits = 7;
  auto feet = [&] { return PlainNumberText(s.lengthFt, kDigits) + " ft"; };
  auto metres = [&] { return PlainNumberText(s.lengthM, kDigits) + " m"; };
  // As typed, and in the output's unit beside it when that is the other one.
  std::string text = s.typedInMetres ? metres() : feet();
  if (s.typedInMetres != s.metric) text += " (" + (s.metric ? metres() : feet()) + ")";
  text += " at " + PlainNumberText(s.freqMHz, kDigits) + " MHz";
  if (!s.band.empty()) text += " (" + s.band + " band)";
  return text + ", " + PlainNumberText(s.powerW, kDigits) + " watts";
}

Settings ReadSettings(const SettingTexts& texts) {
  Settings settings;
  settings.metric = texts.metric;
  const Length length = ReadLength(texts.length, texts.metric);
  settings.lengthFt = length.feet;
  settings.lengthM = length.metres;
  settings.typedInMetres = length.typedInMetres;
  settings.shownLength = texts.metric ? length.metres : length.feet;
  settings.powerW = ReadNumber("--power", texts.power);
  settings.shackSwr = ReadNumber("--swr", texts.swr);
  if (texts.band.empty() == texts.mhz.empty()) throw UsageError("give either --band or --mhz");
  if (!texts.band.empty()) {
    settings.freqMHz = BandCentreMHz(texts.band);
    settings.band = FindBand(texts.band).name;
  } else {
    settings.freqMHz = ReadNumber("--mhz", texts.mhz);
  }
  return settings;
}

nlohmann::ordered_json SettingsJson(const Settings& s) {
  using Json = nlohmann::ordered_json;
  return {{"length_ft", s.lengthFt},    {"length_m", s.lengthM},
          {"power_w", s.powerW},        {"shack_swr", s.shackSwr},
          {"frequency_mhz", s.freqMHz}, {"band", s.band.empty() ? Json(nullptr) : Json(s.band)}};
}

}  // namespace ferrolux::cli
