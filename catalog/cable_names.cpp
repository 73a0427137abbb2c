#include "catalog/cable_names.hpp"

#include <algorithm>
#include <numeric>
#include <utility>

#include "text/text.hpp"

namespace ferrolux {

namespace {

// Edits between two names, a swap of neighbours ("RG231" for RG-213) counting as one.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    before = std::exchange(last, row);
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      row[j] = std::min({last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1), last[j] + 1, row[j - 1] + 1});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], before[j - 2] + 1);
    }
  }
  return row[b.size()];
}

// "RG-213/U" is the type RG-213 with the military suffix for general use, which hams leave out.
std::string_view WithoutUniversalSuffix(std::string_view name) {
  if (name.size() > 2 && name[name.size() - 2] == '/' && (name.back() == 'U' || name.back() == 'u'))
    name.remove_suffix(2);
  return name;
}

}  // namespace

std::string NormalisedName(std::string_view name) {
  std::string normalised = UpperCase(name);
  std::erase_if(normalised, [](char c) { return c == ' ' || c == '-' || c == '.' || c == '/'; });
  return normalised;
}

bool SameName(std::string_view a, std::string_view b) {
  return NormalisedName(WithoutUniversalSuffix(a)) == NormalisedName(WithoutUniversalSuffix(b));
}

bool NameContains(std::string_view name, std::string_view part) {
  return NormalisedName(name).find(NormalisedName(part)) != std::string::npos;
}

std::vector<std::string> NearestNames(const std::vector<std::string>& names, std::string_view typed,
                                      std::size_t count) {
  const std::string wanted = NormalisedName(typed);
  struct Candidate {
    std::size_t distance;
    std::string name;
  };
  std::vector<Candidate> candidates;
  for (const std::string& name : names) {
    const std::size_t distance = EditDistance(wanted, NormalisedName(name));
    // At most a third of the name mistyped, and each name once.
    if (distance > std::max(wanted.size() / 3, std::size_t{1})) continue;
    if (std::ranges::any_of(candidates, [&](const Candidate& c) { return c.name == name; })) continue;
    candidates.push_back({distance, name});
  }
  std::ranges::stable_sort(candidates, {}, &Candidate::distance);
  std::vector<std::string> nearest;
  for (std::size_t i = 0; i < candidates.size() && i < count; ++i) nearest.push_back(candidates[i].name);
  return nearest;
}

}  // namespace ferrolux
