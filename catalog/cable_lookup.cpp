#include "catalog/cable_lookup.hpp"

#include "catalog/cable_names.hpp"

namespace ferrolux {

namespace {

constexpr std::size_t kSuggestions = 5;

template <typename Test>
std::vector<const CatalogRow*> Matching(const std::vector<CatalogRow>& cables, Test test) {
  std::vector<const CatalogRow*> found;
  for (const CatalogRow& cable : cables)
    if (test(cable)) found.push_back(&cable);
  return found;
}

}  // namespace

bool IsOfType(const CatalogRow& cable, const std::string& type) { return SameName(cable[column::kType], type); }

bool TypeAndPartContain(const CatalogRow& cable, const std::string& match) {
  return NameContains(cable[column::kType] + " " + cable[column::kPartNumber], match);
}

std::string CableName(const CatalogRow& cable) { return cable[column::kType] + ", " + cable[column::kPartNumber]; }

std::vector<const CatalogRow*> CablesNamed(const std::vector<CatalogRow>& cables, const std::string& name) {
  std::vector<const CatalogRow*> found =
      Matching(cables, [&](const CatalogRow& cable) { return SameName(cable[column::kPartNumber], name); });
  if (found.empty()) found = Matching(cables, [&](const CatalogRow& cable) { return IsOfType(cable, name); });
  if (found.empty()) found = Matching(cables, [&](const CatalogRow& cable) { return TypeAndPartContain(cable, name); });
  return found;
}

std::vector<std::string> NearestCableNames(const std::vector<CatalogRow>& cables, const std::string& typed,
                                           bool partNumbers) {
  std::vector<std::string> names;
  for (const CatalogRow& cable : cables) {
    names.push_back(cable[column::kType]);
    if (partNumbers) names.push_back(cable[column::kPartNumber]);
  }
  return NearestNames(names, typed, kSuggestions);
}

}  // namespace ferrolux
