#include "catalog/catalog_search.hpp"

#include <vector>

#include "catalog/catalog.hpp"
#include "platform/files.hpp"
#include "platform/places.hpp"

namespace ferrolux {

namespace {

// Only a file that is not there moves the search on: a catalog that exists but cannot be read
// must be reported, not silently replaced by another one.
bool IsMissing(const std::filesystem::path& file) { return platform::IsMissing(file); }

}  // namespace

CatalogPlaces PlacesOfThisProcess() {
  const platform::ProcessPlaces places = platform::PlacesOfThisProcess();
  return {places.userData, places.executable};
}

std::filesystem::path LocateCatalog(const CatalogPlaces& places) {
  std::vector<std::filesystem::path> candidates{kCatalogFile};
  if (!places.userData.empty()) candidates.push_back(platform::UserFolder(places.userData) / kCatalogFile);
  if (!places.executable.empty()) candidates.push_back(platform::ShippedFolder(places.executable) / kCatalogFile);
  for (const std::filesystem::path& candidate : candidates)
    if (!IsMissing(candidate)) return candidate;
  return kCatalogFile;
}

std::filesystem::path ChooseCatalog(const std::optional<std::filesystem::path>& named, const CatalogPlaces& places) {
  return named ? *named : LocateCatalog(places);
}

}  // namespace ferrolux
