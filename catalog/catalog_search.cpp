#include "catalog/catalog_search.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux {

namespace {

const std::filesystem::path kCatalogFolder = "ferrolux";

// Only a file that is not there moves the search on: a catalog that exists but cannot be read
// must be reported, not silently replaced by another one.
bool IsMissing(const std::filesystem::path& file) {
  return access(file.c_str(), F_OK) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

std::filesystem::path UserDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::filesystem::path(home) / ".local" / "share";
  return {};
}

std::filesystem::path ThisExecutable() {
  std::error_code failed;
  std::filesystem::path found = std::filesystem::read_symlink("/proc/self/exe", failed);
  return failed ? std::filesystem::path() : found;
}

}  // namespace

CatalogPlaces PlacesOfThisProcess() { return {UserDataFolder(), ThisExecutable()}; }

std::filesystem::path LocateCatalog(const CatalogPlaces& places) {
  std::vector<std::filesystem::path> candidates{kCatalogFile};
  if (!places.userData.empty()) candidates.push_back(places.userData / kCatalogFolder / kCatalogFile);
  if (!places.executable.empty())
    candidates.push_back(places.executable.parent_path().parent_path() / "share" / kCatalogFolder / kCatalogFile);
  for (const std::filesystem::path& candidate : candidates)
    if (!IsMissing(candidate)) return candidate;
  return kCatalogFile;
}

std::filesystem::path ChooseCatalog(const std::optional<std::filesystem::path>& named, const CatalogPlaces& places) {
  return named ? *named : LocateCatalog(places);
}

}  // namespace ferrolux
