#pragma once
// Where the catalog is read from when the command line names none.

#include <filesystem>
#include <optional>
#include <string>

namespace ferrolux {

// The places looked at, in order. Empty entries are skipped.
struct CatalogPlaces {
  std::filesystem::path userData;    // $XDG_DATA_HOME, else $HOME/.local/share
  std::filesystem::path executable;  // the running program, for <bin>/../share/ferrolux
};

// The places of this process: its environment and /proc/self/exe.
CatalogPlaces PlacesOfThisProcess();

// The first of ./CableCatalog.txt, the user's copy and the one installed beside the program
// that is there; one that is there but cannot be read is taken, for the loader to report.
// When none exists, the plain name comes back so the loader reports "[53] File not found".
std::filesystem::path LocateCatalog(const CatalogPlaces& places);

// The file named on the command line wins over every place.
std::filesystem::path ChooseCatalog(const std::optional<std::filesystem::path>& named, const CatalogPlaces& places);

}  // namespace ferrolux
