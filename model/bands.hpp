#pragma once
// The amateur bands the calculator offers, each standing for a frequency in its middle.

#include <array>
#include <string_view>

namespace ferrolux {

struct Band {
  std::string_view name;       // as typed on the command line: 160m, 70cm, gmrs
  std::string_view centreMHz;  // kept as text: the band menu reads it the way it reads typed numbers
};

inline constexpr std::array<Band, 14> kBands{{
    {"160m", "1.9"},
    {"80m", "3.75"},
    {"40m", "7.2"},
    {"30m", "10.125"},
    {"20m", "14.175"},
    {"17m", "18.125"},
    {"15m", "21.225"},
    {"12m", "24.940"},
    {"10m", "28.5"},
    {"6m", "50.2"},
    {"2m", "146"},
    {"1.25m", "222"},
    {"70cm", "430"},
    {"gmrs", "465"},
}};

}  // namespace ferrolux
