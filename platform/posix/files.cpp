#include "platform/files.hpp"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace ferrolux::platform {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel follows them

std::chrono::system_clock::time_point TimePoint(const timespec& time) {
  return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
      std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
}

// A link in /proc (/dev/stdout, /dev/fd/N) names an open descriptor's file, not a path: only
// the kernel can follow it.
bool InProcessTable(const fs::path& link) {
  struct statfs folder {};
  const fs::path parent = link.has_parent_path() ? link.parent_path() : fs::path(".");
  return statfs(parent.c_str(), &folder) == 0 && folder.f_type == PROC_SUPER_MAGIC;
}

}  // namespace

OpenFile::~OpenFile() {
  if (descriptor_ >= 0) close(descriptor_);
}

int OpenForReading(const fs::path& file, int& descriptor) {
  descriptor = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  return descriptor < 0 ? errno : 0;
}

int StatusOf(int descriptor, FileStatus& status) {
  struct stat raw {};
  if (fstat(descriptor, &raw) != 0) return errno;
  status.regular = S_ISREG(raw.st_mode);
  status.directory = S_ISDIR(raw.st_mode);
  status.size = static_cast<std::uint64_t>(raw.st_size);
  status.device = raw.st_dev;
  status.identity = raw.st_ino;
  status.modified = TimePoint(raw.st_mtim);
  status.changed = TimePoint(raw.st_ctim);
  return 0;
}

std::ptrdiff_t ReadSome(int descriptor, char* buffer, std::size_t size) { return ::read(descriptor, buffer, size); }

bool ReadByteAt(int descriptor, std::uint64_t offset, char& byte) {
  return pread(descriptor, &byte, 1, static_cast<off_t>(offset)) == 1;
}

int Rewind(int descriptor) { return lseek(descriptor, 0, SEEK_SET) < 0 ? errno : 0; }

// Editors and tools lock with fcntl or lockf as often as with flock, and the two kinds do not
// see each other: a shared lock of both kinds keeps out a writer of either and no reader.
int TakeSharedReadLock(int descriptor) {
  if (flock(descriptor, LOCK_SH | LOCK_NB) != 0) return errno;
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(descriptor, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

bool IsMissing(const fs::path& file) {
  return access(file.c_str(), F_OK) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

int WriteAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(descriptor, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    content.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

int OpenForWritingInto(const fs::path& file, int& descriptor) {
  descriptor = open(file.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
  return descriptor < 0 ? errno : 0;
}

int Close(int descriptor) { return close(descriptor) != 0 ? errno : 0; }

// The file a chain of symlinks ends at.
Destination ResolveDestination(const fs::path& file) {
  fs::path target = file;
  std::error_code error;
  for (int i = 0; i < kMostLinks && fs::is_symlink(fs::symlink_status(target, error)); ++i) {
    if (InProcessTable(target)) return {file, true};
    const fs::path link = fs::read_symlink(target, error);
    if (error) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  struct stat status {};
  if (stat(target.c_str(), &status) != 0) return {target, false, errno == ENOENT ? 0 : errno};
  if (S_ISDIR(status.st_mode)) return {target, false, EISDIR};
  return {target, !S_ISREG(status.st_mode)};
}

struct FileSizeSignalIgnored::Saved {
  struct sigaction action {};
};

FileSizeSignalIgnored::FileSizeSignalIgnored() : saved_(std::make_unique<Saved>()) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &saved_->action);
}

FileSizeSignalIgnored::~FileSizeSignalIgnored() { sigaction(SIGXFSZ, &saved_->action, nullptr); }

int ProcessId() { return static_cast<int>(getpid()); }

}  // namespace ferrolux::platform
