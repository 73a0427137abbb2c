#include "platform/temporary_file.hpp"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>

#include "platform/files.hpp"
#include "platform/windows/windows_files.hpp"

namespace ferrolux::platform {

namespace {

namespace fs = std::filesystem;
using windows::LastErrno;
using windows::WidePath;

constexpr int kNameTries = 100;

// The one name the console's Ctrl+C, Ctrl+Break or closing removes. The handler runs on a
// thread of its own, so the name is only touched under the lock.
struct PendingRemoval {
  std::mutex lock;
  std::wstring path;
  std::atomic<int> users{0};
};
PendingRemoval g_pending;

// FALSE passes the event on: the default handler then ends the program as it would have.
BOOL WINAPI RemovePending(DWORD /*event*/) {
  const std::lock_guard<std::mutex> held(g_pending.lock);
  if (!g_pending.path.empty()) DeleteFileW(g_pending.path.c_str());
  return FALSE;
}

void InstallRemoval() {
  if (g_pending.users.fetch_add(1) == 0) SetConsoleCtrlHandler(RemovePending, TRUE);
}

void UninstallRemoval() {
  if (g_pending.users.fetch_sub(1) == 1) SetConsoleCtrlHandler(RemovePending, FALSE);
}

void Arm(const fs::path& path) {
  const std::lock_guard<std::mutex> held(g_pending.lock);
  g_pending.path = WidePath(path);
}

void Disarm() {
  const std::lock_guard<std::mutex> held(g_pending.lock);
  g_pending.path.clear();
}

// `.NAME.PID.N` beside the target, this process's own. Not marked hidden: the file keeps its
// attributes when it takes the target's place.
fs::path NameBeside(const fs::path& target, int number) {
  fs::path name = L".";
  name += target.filename();
  name += L"." + std::to_wstring(ProcessId()) + L"." + std::to_wstring(number);
  return target.parent_path() / name;
}

HANDLE HandleOf(int descriptor) { return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)); }

// ReplaceFileW keeps the old file's attributes and security, as a file's mode is kept on POSIX;
// a new name is moved into place. Either leaves the old file as it was when it fails.
bool PutInPlace(const fs::path& from, const fs::path& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

// Windows has no unnamed file to give a name later: the temporary is always named.
TemporaryFile::TemporaryFile(const fs::path& target, Kind /*kind*/) : target_(target) {
  InstallRemoval();
  try {
    OpenNamed();
  } catch (const SystemFailure&) {
    UninstallRemoval();
    throw;
  }
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) _close(fd_);
  if (!path_.empty() && !renamed_) DeleteFileW(WidePath(path_).c_str());
  Disarm();
  UninstallRemoval();
}

void TemporaryFile::OpenNamed() {
  for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
    const fs::path path = NameBeside(target_, i);
    const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
    if (handle == INVALID_HANDLE_VALUE) throw SystemFailure{LastErrno()};
    path_ = path;
    Arm(path_);
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
    if (fd_ < 0) {
      CloseHandle(handle);
      throw SystemFailure{EMFILE};
    }
  }
  if (fd_ < 0) throw SystemFailure{EEXIST};
}

void TemporaryFile::LinkToName() {}

void TemporaryFile::Write(std::string_view content) const {
  if (const int error = WriteAll(fd_, content); error != 0) throw SystemFailure{error};
}

void TemporaryFile::Replace() {
  if (!FlushFileBuffers(HandleOf(fd_))) throw SystemFailure{LastErrno()};
  const int fd = fd_;
  fd_ = -1;
  if (_close(fd) != 0) throw SystemFailure{errno};
  if (!PutInPlace(path_, target_)) throw SystemFailure{LastErrno()};
  renamed_ = true;
  Disarm();
}

}  // namespace ferrolux::platform
