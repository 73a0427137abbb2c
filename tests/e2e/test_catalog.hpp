#pragma once
// Catalog lines as the end-to-end tests write them: tab-separated fields, each record ending CR LF.

#include <string>

namespace ferrolux::e2e {

// A plain cable of 2.6 dB per 100 ft at 100 MHz, known by its type and part; `text` stands for
// its description and its uses.
inline std::string Record(const std::string& type, const std::string& part, const std::string& text = "Text.") {
  return type + "\t" + part + "\t50\t.66\t25\tCu\tPE\tBraid\tPVC\t0.2 in\t300 V\t.5\t.2\t.001\t" + text + "\t" + text +
         "\r\n";
}

// The worked example's cable, and a low-loss one of another type, as a maker would list them.
inline const std::string kWorkedCable =
    "RG-8X\tTest RG-8X\t50\t.78\t25\tStranded Cu\tFoam PE\tBraid\tPVC\t0.242 in\t300 V\t.5\t.2\t.001\t"
    "A small test cable.\tTesting.\r\n";
inline const std::string kLowLossCable =
    "LMR-400\tTest LMR-400\t50\t.85\t24\tSolid Cu\tFoam PE\tFoil+braid\tPE\t0.405 in\t2500 V\t.1\t.12\t.0003\t"
    "A low-loss test cable.\tLong runs.\r\n";

}  // namespace ferrolux::e2e
