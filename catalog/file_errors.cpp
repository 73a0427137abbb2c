#include "catalog/file_errors.hpp"

#include <cerrno>

namespace ferrolux {

namespace {

int CodeOf(int errnoValue) {
  switch (errnoValue) {
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EWOULDBLOCK: return kErrorPermissionDenied;
    case EMFILE:
    case ENFILE: return kErrorTooManyFiles;
    case ENXIO:
    case ENODEV: return kErrorDeviceUnavailable;
    case EIO: return kErrorDiskMedia;
    case ENOMEM: return kErrorOutOfMemory;
    default: return kErrorFileAccess;
  }
}

const char* TextOf(int code) {
  switch (code) {
    case kErrorOutOfMemory: return "Out of memory";
    case kErrorFileNotFound: return "File not found";
    case kErrorTooManyFiles: return "Too many files";
    case kErrorDeviceUnavailable: return "Device unavailable";
    case kErrorPermissionDenied: return "Permission denied";
    case kErrorDiskMedia: return "Disk media error";
    case kErrorPathNotFound: return "Path not found";
    default: return "Path/file access error";
  }
}

}  // namespace

std::string NumberedErrorMessage(int code) {
  return std::string("[").append(std::to_string(code)).append("] ").append(TextOf(code));
}

std::string FileErrorMessage(int errnoValue) { return NumberedErrorMessage(CodeOf(errnoValue)); }

}  // namespace ferrolux
