#pragma once
// Where the catalog is read from when the command line names none.

#include <filesystem>
#include <optional>
#include <string>

namespace ferrolux {

// The places looked at, in order. Empty entries are skipped.
struct CatalogPlaces {
  std::filesystem::path userData;  // as platform::ProcessPlaces
  std::filesystem::path executable;
};

// The places of this process: its environment and where the program lies.
CatalogPlaces PlacesOfThisProcess();

// The first of ./CableCatalog.txt, the user's copy and the one shipped with the program that
// is there (the folders are the system's: platform/places.hpp); one that is there but cannot be read is taken, for the
// loader to report. When none exists, the plain name comes back so the loader reports "[53] File not found".
std::filesystem::path LocateCatalog(const CatalogPlaces& places);

// The file named on the command line wins over every place.
std::filesystem::path ChooseCatalog(const std::optional<std::filesystem::path>& named, const CatalogPlaces& places);

}  // namespace ferrolux
