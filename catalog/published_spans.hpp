#pragma once
// The frequencies the shipped catalog's loss figures rest on: for each of its cables, the lowest
// and highest published point its k0, k1 and k2 were fitted to. Outside them the figures are
// extrapolated. A cable of the user's own has none, since nothing says what it was fitted to.

#include <optional>
#include <string_view>

namespace ferrolux {

struct FrequencySpan {
  double lowestMHz = 0, highestMHz = 0;
};

// By the catalog's part number, as the shipped catalog writes it.
std::optional<FrequencySpan> PublishedSpan(std::string_view partNumber);

}  // namespace ferrolux
