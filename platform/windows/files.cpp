#include "platform/files.hpp"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/windows/windows_files.hpp"

namespace ferrolux::platform {

namespace {

namespace fs = std::filesystem;
using windows::LastErrno;
using windows::WidePath;

// Windows counts in 100 ns steps from 1601; the system clock from 1970.
constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;

std::chrono::system_clock::time_point TimePoint(std::int64_t ticks) {
  const std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>> since1970(ticks - kTicksFrom1601To1970);
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(since1970));
}

// Windows says "path not found" both for a folder that is missing and for one that is a file;
// POSIX tells them apart (ENOENT, ENOTDIR), and so do the messages.
int MissingPathErrno(const fs::path& file) {
  for (fs::path folder = file.parent_path(); !folder.empty() && folder != folder.parent_path();
       folder = folder.parent_path()) {
    const DWORD attributes = GetFileAttributesW(WidePath(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ENOENT : ENOTDIR;
  }
  return ENOENT;
}

HANDLE HandleOf(int descriptor) { return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)); }

// A C runtime descriptor over a handle opened with the wide call, in binary mode: no CR is added
// or taken away behind the program's back.
int OpenDescriptor(const fs::path& file, DWORD access, DWORD disposition, int flags, int& descriptor) {
  descriptor = -1;
  const HANDLE handle =
      CreateFileW(WidePath(file).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastErrno();
  descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY | _O_NOINHERIT);
  if (descriptor >= 0) return 0;
  CloseHandle(handle);
  return EMFILE;
}

}  // namespace

OpenFile::~OpenFile() {
  if (descriptor_ >= 0) _close(descriptor_);
}

// Opening a folder is allowed (as on POSIX) so that it is refused by its type, not by a vague error.
int OpenForReading(const fs::path& file, int& descriptor) {
  return OpenDescriptor(file, GENERIC_READ, OPEN_EXISTING, _O_RDONLY, descriptor);
}

int StatusOf(int descriptor, FileStatus& status) {
  const HANDLE handle = HandleOf(descriptor);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    status = FileStatus{};  // a console, a pipe or a device
    return 0;
  }
  if (!GetFileInformationByHandle(handle, &info)) return LastErrno();
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) return LastErrno();
  status.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.regular = !status.directory;
  status.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  status.device = info.dwVolumeSerialNumber;
  status.identity = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  status.modified = TimePoint(basic.LastWriteTime.QuadPart);
  status.changed = TimePoint(basic.ChangeTime.QuadPart);
  return 0;
}

std::ptrdiff_t ReadSome(int descriptor, char* buffer, std::size_t size) {
  constexpr std::size_t kMostAtOnce = 1U << 30;
  return _read(descriptor, buffer, static_cast<unsigned>(size < kMostAtOnce ? size : kMostAtOnce));
}

bool ReadByteAt(int descriptor, std::uint64_t offset, char& byte) {
  const __int64 was = _lseeki64(descriptor, 0, SEEK_CUR);
  if (was < 0 || _lseeki64(descriptor, static_cast<__int64>(offset), SEEK_SET) < 0) return false;
  const bool read = _read(descriptor, &byte, 1) == 1;
  return _lseeki64(descriptor, was, SEEK_SET) >= 0 && read;
}

int Rewind(int descriptor) { return _lseeki64(descriptor, 0, SEEK_SET) < 0 ? errno : 0; }

// A shared range lock over the whole file: Windows enforces it, so no writer gets in while it is
// held, and it fails at once while a writer holds any part of the file.
int TakeSharedReadLock(int descriptor) {
  OVERLAPPED whole{};
  if (LockFileEx(HandleOf(descriptor), LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) return 0;
  return LastErrno();
}

bool IsMissing(const fs::path& file) {
  if (GetFileAttributesW(WidePath(file).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD code = GetLastError();
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

int WriteAll(int descriptor, std::string_view content) {
  const HANDLE handle = HandleOf(descriptor);
  while (!content.empty()) {
    constexpr std::size_t kMostAtOnce = 1U << 30;
    DWORD written = 0;
    const auto size = static_cast<DWORD>(content.size() < kMostAtOnce ? content.size() : kMostAtOnce);
    if (!WriteFile(handle, content.data(), size, &written, nullptr)) return LastErrno();
    content.remove_prefix(written);
  }
  return 0;
}

int OpenForWritingInto(const fs::path& file, int& descriptor) {
  const int error = OpenDescriptor(file, GENERIC_WRITE, OPEN_EXISTING, _O_WRONLY, descriptor);
  if (error == 0 && GetFileType(HandleOf(descriptor)) == FILE_TYPE_DISK) {
    SetEndOfFile(HandleOf(descriptor));
  }
  return error;
}

int Close(int descriptor) { return _close(descriptor) != 0 ? errno : 0; }

// Windows has no FIFO in the file system: a device name (CON, NUL, \\.\...) is written into, a
// plain file or a new name replaced. Links are followed by the system when the file is replaced.
Destination ResolveDestination(const fs::path& file) {
  const DWORD attributes = GetFileAttributesW(WidePath(file).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return {file};
    if (code == ERROR_PATH_NOT_FOUND) return {file, false, MissingPathErrno(file)};
    return {file, false, windows::ErrnoOf(code)};
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {file, false, EISDIR};
  int descriptor = -1;
  if (OpenForReading(file, descriptor) != 0) return {file};
  const bool device = GetFileType(HandleOf(descriptor)) != FILE_TYPE_DISK;
  _close(descriptor);
  return {file, device};
}

struct FileSizeSignalIgnored::Saved {};

// Windows ends no program for a file's size: a write past a quota fails by itself.
FileSizeSignalIgnored::FileSizeSignalIgnored() = default;
FileSizeSignalIgnored::~FileSizeSignalIgnored() = default;

int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

}  // namespace ferrolux::platform
