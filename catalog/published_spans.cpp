#include "catalog/published_spans.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace ferrolux {

namespace {

// Per part number of data/CableCatalog.txt, the points of data/cable-points.tsv that
// ferrolux-fit --catalog fits (up to 1000 MHz); the tools' tests hold the two files to this.
constexpr std::array<std::pair<std::string_view, FrequencySpan>, 71> kPublishedSpans = {{
    {"Belden 83265", {1, 1000}},
    {"Belden 8216", {1, 1000}},
    {"Belden 84316", {1, 1000}},
    {"Belden 83269", {1, 1000}},
    {"Times LMR-100A", {30, 900}},
    {"Belden 8259", {1, 1000}},
    {"Messi & Paoloni RG 58 C/U", {10, 800}},
    {"Belden 8219", {1, 1000}},
    {"Belden 9273", {1, 1000}},
    {"Harbour M17/128-RG400", {100, 1000}},
    {"Times LMR-195", {30, 900}},
    {"Belden 83242", {1, 1000}},
    {"Belden 9258", {1, 1000}},
    {"Times LMR-200", {30, 900}},
    {"SSB Aircell 5", {5, 1000}},
    {"Messi & Paoloni Airborne 5", {1.8, 1000}},
    {"Belden H155A01", {5, 1000}},
    {"Messi & Paoloni Hyperflex 5", {1.8, 1000}},
    {"Times LMR-240", {30, 900}},
    {"Belden 8267", {1, 1000}},
    {"Belden 8268", {1, 1000}},
    {"Messi & Paoloni RG 213/U", {10, 800}},
    {"SSB Aircell 7", {5, 1000}},
    {"Times LMR-300", {30, 900}},
    {"CommScope FSJ1-50A", {0.5, 1000}},
    {"RFS SCF14-50J", {1, 900}},
    {"Messi & Paoloni Ultraflex 7", {1.8, 1000}},
    {"Davis RF Bury-Flex", {10, 1000}},
    {"RFS SCF38-50J", {100, 960}},
    {"Belden 9914", {5, 1000}},
    {"SSB Ecoflex 10", {5, 1000}},
    {"Belden H1000C1", {5, 1000}},
    {"Times LMR-400", {30, 900}},
    {"Messi & Paoloni Ultraflex 10", {1.8, 1000}},
    {"Messi & Paoloni Hyperflex 10", {1.8, 1000}},
    {"Belden H2000 Flex", {7, 1000}},
    {"CommScope FSJ2-50", {0.5, 1000}},
    {"Messi & Paoloni Airborne 10", {1.8, 1000}},
    {"Westflex 103", {10, 1000}},
    {"CommScope FSJ4-50B", {0.5, 1000}},
    {"CommScope LDF2-50", {0.5, 1000}},
    {"Times LMR-500", {30, 900}},
    {"Messi & Paoloni Ultraflex 13", {10, 800}},
    {"Messi & Paoloni Hyperflex 13", {1.8, 1000}},
    {"SSB Ecoflex 15", {5, 1000}},
    {"Times LMR-600", {30, 900}},
    {"CommScope LDF4-50A", {1, 1000}},
    {"Times LMR-900", {30, 900}},
    {"Times LMR-1200", {30, 900}},
    {"CommScope LDF5-50A", {0.5, 1000}},
    {"Times LMR-1700", {30, 900}},
    {"CommScope LDF6-50", {0.5, 1000}},
    {"CommScope LDF7-50A", {0.5, 1000}},
    {"Belden 8263", {1, 1000}},
    {"Belden 8261", {1, 1000}},
    {"Belden 1694A", {1, 1000}},
    {"Belden 9292", {1, 1000}},
    {"Belden 9913", {10, 450}},
    {"Times LMR-400-UF", {30, 450}},
    {"Generic RG-393/U", {50, 850}},
    {"Huber+Suhner RG_58_C/U", {50, 1000}},
    {"Telegaertner L01002B0000", {50, 1000}},
    {"CommScope CNT-400", {30, 900}},
    {"CommScope P3 .500", {5, 865}},
    {"CommScope P3 .750", {5, 865}},
    {"CommScope P3 .875", {5, 865}},
    {"CommScope 540 QR", {5, 865}},
    {"CommScope 715 QR", {5, 865}},
    {"CommScope 860 QR", {5, 1000}},
    {"Trilogy MC2 .500", {5, 1000}},
    {"Trilogy MC2 1.00", {5, 1000}},
}};

}  // namespace

std::optional<FrequencySpan> PublishedSpan(std::string_view partNumber) {
  const auto* found = std::find_if(kPublishedSpans.begin(), kPublishedSpans.end(),
                                   [&](const auto& entry) { return entry.first == partNumber; });
  if (found == kPublishedSpans.end()) return std::nullopt;
  return found->second;
}

}  // namespace ferrolux
