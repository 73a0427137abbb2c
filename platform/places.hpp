#pragma once
// Where this system keeps a user's own files and the program's shipped ones.

#include <filesystem>

namespace ferrolux::platform {

// The places of this process. Empty when the system gives none.
struct ProcessPlaces {
  std::filesystem::path userData;    // POSIX: $XDG_DATA_HOME, else $HOME/.local/share; Windows: %APPDATA%
  std::filesystem::path executable;  // the running program
};
ProcessPlaces PlacesOfThisProcess();

// The folder of the user's own copy of a data file, under `userData`: POSIX ferrolux/,
// Windows Ferrolux\.
std::filesystem::path UserFolder(const std::filesystem::path& userData);

// The folder of the data shipped with the program at `executable`: POSIX <bin>/../share/ferrolux,
// Windows the program's own folder (the unzipped package).
std::filesystem::path ShippedFolder(const std::filesystem::path& executable);

}  // namespace ferrolux::platform
