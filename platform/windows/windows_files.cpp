#include "platform/windows/windows_files.hpp"

#include <windows.h>

#include <cerrno>

namespace ferrolux::platform::windows {

namespace {

constexpr size_t kOldPathLimit = 260;

}  // namespace

int ErrnoOf(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EWOULDBLOCK;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY: return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST: return ENXIO;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return EPIPE;
    default: return EIO;
  }
}

int LastErrno() { return ErrnoOf(GetLastError()); }

std::wstring WidePath(const std::filesystem::path& path) {
  const std::wstring& plain = path.native();
  if (plain.size() < kOldPathLimit || plain.starts_with(L"\\\\?\\")) return plain;
  std::error_code failed;
  const std::filesystem::path whole = std::filesystem::absolute(path, failed).lexically_normal();
  if (failed) return plain;
  const std::wstring& text = whole.native();
  if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
  return L"\\\\?\\" + text;
}

}  // namespace ferrolux::platform::windows
