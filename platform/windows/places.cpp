#include "platform/places.hpp"

#include <windows.h>

#include <string>

namespace ferrolux::platform {

namespace {

std::filesystem::path RoamingAppData() {
  const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(L"APPDATA", value.data(), size));
  return value;
}

// Long enough for any path the \\?\ form allows.
std::filesystem::path ThisExecutable() {
  std::wstring name(32'768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
  if (length == 0 || length >= name.size()) return {};
  name.resize(length);
  return name;
}

}  // namespace

ProcessPlaces PlacesOfThisProcess() { return {RoamingAppData(), ThisExecutable()}; }

std::filesystem::path UserFolder(const std::filesystem::path& userData) { return userData / "Ferrolux"; }

std::filesystem::path ShippedFolder(const std::filesystem::path& executable) { return executable.parent_path(); }

}  // namespace ferrolux::platform
