#pragma once
// The figures a calculation starts from, read from the command line's texts.

#include <string>

#include <nlohmann/json.hpp>

namespace ferrolux::cli {

inline constexpr double kMetresPerFoot = 0.3048;

// The options as typed; empty when not given.
struct SettingTexts {
  std::string length, power = "100", swr = "1", band, mhz;
  bool metric = false;
};

struct Settings {
  double lengthFt = 0;
  double lengthM = 0;      // as typed when typed in metres, so 30m stays 30
  double shownLength = 0;  // in the unit the output uses: metres with --metric, else feet
  bool metric = false;
  bool typedInMetres = false;
  double powerW = 0;
  double shackSwr = 0;
  double freqMHz = 0;
  std::string band;  // the band's name, empty for --mhz
};

// Throws a usage error naming the option at fault.
Settings ReadSettings(const SettingTexts& texts);

struct Length {
  double feet = 0;
  double metres = 0;
  bool typedInMetres = false;
};

// "50 ft at 146 MHz (2m band), 100 watts, SWR 1.5:1 in the shack".
std::string DescribeSettings(const Settings& settings);
// The same without the SWR: "50 ft at 146 MHz (2m band), 100 watts".
std::string DescribeRun(const Settings& settings);

// Lengths in both units, power, SWR, frequency and the band (null for --mhz), as scripts read them.
nlohmann::ordered_json SettingsJson(const Settings& settings);

// "30" is feet (metres with `metric`), "30ft" feet, "30m" metres; a usage error names `option`.
Length ReadLength(const std::string& option, const std::string& text, bool metric);
// The same for --length.
Length ReadLength(const std::string& text, bool metric);

// A number above 0 for the option named.
double ReadNumber(const std::string& option, const std::string& text);

// A velocity factor: at most 1, as no wave on a line outruns light, and no slower than any
// cable's dielectric makes it (kSlowestVelocityFactor).
double ReadVelocityFactor(const std::string& option, const std::string& text);

// The centre frequency of a band by its name (160m … 70cm, gmrs), as the band menu gives it.
double BandCentreMHz(const std::string& name);

}  // namespace ferrolux::cli
