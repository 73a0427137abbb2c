#include "catalog/catalog_search.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "catalog/catalog.hpp"

namespace ferrolux {

namespace {

const std::filesystem::path kCatalogFolder = "ferrolux";

bool Exists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

// Only "no such file" moves the search on: a catalog that exists but cannot be read must be
// reported, not silently replaced by another one.
bool IsMissing(const std::filesystem::path& file) {
  return access(file.c_str(), F_OK) != 0 && (errno == ENOENT);
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
  if (!IsMissing(kCatalogFile)) return kCatalogFile;
  if (!places.userData.empty()) {
    std::filesystem::path userCopy = places.userData / kCatalogFolder / kCatalogFile;
    if (Exists(userCopy)) return userCopy;
  }
  if (!places.executable.empty()) {
    std::filesystem::path installed =
        places.executable.parent_path().parent_path() / "share" / kCatalogFolder / kCatalogFile;
    if (Exists(installed)) return installed;
  }
  return kCatalogFile;
}

std::filesystem::path ChooseCatalog(const std::optional<std::filesystem::path>& named,
                                    const CatalogPlaces& places) {
  return named ? *named : LocateCatalog(places);
}

}  // namespace ferrolux
