#include "platform/places.hpp"

#include <cstdlib>
#include <system_error>

namespace ferrolux::platform {

namespace {

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

ProcessPlaces PlacesOfThisProcess() { return {UserDataFolder(), ThisExecutable()}; }

std::filesystem::path UserFolder(const std::filesystem::path& userData) { return userData / "ferrolux"; }

std::filesystem::path ShippedFolder(const std::filesystem::path& executable) {
  return executable.parent_path().parent_path() / "share" / "ferrolux";
}

}  // namespace ferrolux::platform
