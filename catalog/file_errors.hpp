#pragma once
// The catalog's file failures in the program's own terms: "[code] text".

#include <string>

namespace ferrolux {

// The message for a failure the system reported with this errno value.
std::string FileErrorMessage(int errnoValue);

// The message for a numbered failure ("[7] Out of memory").
std::string NumberedErrorMessage(int code);

inline constexpr int kErrorOutOfMemory = 7;
inline constexpr int kErrorFileNotFound = 53;
inline constexpr int kErrorTooManyFiles = 67;
inline constexpr int kErrorDeviceUnavailable = 68;
inline constexpr int kErrorPermissionDenied = 70;
inline constexpr int kErrorDiskMedia = 72;
inline constexpr int kErrorFileAccess = 75;
inline constexpr int kErrorPathNotFound = 76;

}  // namespace ferrolux
