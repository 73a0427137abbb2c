#include "platform/temporary_file.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "platform/files.hpp"

namespace ferrolux::platform {

namespace {

namespace fs = std::filesystem;

constexpr int kNameTries = 100;
constexpr mode_t kNewFileMode = 0666;  // the umask takes its share
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The only global state: the one name a signal handler removes, prepared before it is armed.
struct PendingRemoval {
  char path[PATH_MAX] = {};
  volatile sig_atomic_t armed = 0;
  struct sigaction previous[std::size(kEndingSignals)]{};
  bool installed[std::size(kEndingSignals)] = {};
};
PendingRemoval g_pending;

// Async-signal-safe calls only. SA_RESETHAND has made the default action current again, so the
// signal raised here ends the process as it would have.
extern "C" void RemovePendingAndDie(int signal) {
  if (g_pending.armed) unlink(g_pending.path);
  raise(signal);
}

// Only where the signal would end the program: an ignored or handled one is left as it is.
void InstallRemoval() {
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    struct sigaction current {};
    if (sigaction(kEndingSignals[i], nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction removal {};
    removal.sa_handler = RemovePendingAndDie;
    removal.sa_flags = SA_RESETHAND;
    sigemptyset(&removal.sa_mask);
    g_pending.installed[i] = sigaction(kEndingSignals[i], &removal, &g_pending.previous[i]) == 0;
  }
}

void UninstallRemoval() {
  g_pending.armed = 0;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (g_pending.installed[i]) sigaction(kEndingSignals[i], &g_pending.previous[i], nullptr);
    g_pending.installed[i] = false;
  }
}

// A name comes into being and is armed (or goes and is disarmed) with no signal in between.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kEndingSignals) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &saved_);
  }
  ~EndingSignalsHeld() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  sigset_t saved_{};
};

void Arm(const fs::path& path) {
  const std::string& text = path.native();
  if (text.size() >= sizeof g_pending.path) return;  // open or link has refused it already
  std::memcpy(g_pending.path, text.c_str(), text.size() + 1);
  g_pending.armed = 1;
}

fs::path Folder(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// `.NAME.PID.N` beside the target: hidden, and this process's own.
fs::path NameBeside(const fs::path& target, int number) {
  std::string name = ".";  // appended, as GCC 12 warns falsely of a literal plus a temporary
  name.append(target.filename().string()).append(".").append(std::to_string(getpid())).append(".");
  name.append(std::to_string(number));
  return target.parent_path() / name;
}

bool UnnamedUnsupported(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

}  // namespace

TemporaryFile::TemporaryFile(const fs::path& target, Kind kind) : target_(target) {
  InstallRemoval();
  if (kind == Kind::kUnnamedWherePossible)
    fd_ = open(Folder(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
  if (fd_ >= 0) return;
  if (kind == Kind::kUnnamedWherePossible && !UnnamedUnsupported(errno)) {
    UninstallRemoval();
    throw SystemFailure{errno};
  }
  try {
    OpenNamed();
  } catch (const SystemFailure&) {
    UninstallRemoval();
    throw;
  }
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) close(fd_);
  {
    const EndingSignalsHeld held;
    if (!path_.empty() && !renamed_) unlink(path_.c_str());
    g_pending.armed = 0;
  }
  UninstallRemoval();
}

void TemporaryFile::OpenNamed() {
  for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
    const fs::path path = NameBeside(target_, i);
    const EndingSignalsHeld held;
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd_ < 0 && errno != EEXIST) throw SystemFailure{errno};
    if (fd_ < 0) continue;
    path_ = path;
    Arm(path_);
  }
  if (fd_ < 0) throw SystemFailure{EEXIST};
}

// The unnamed file gets its name only now, once every byte is on disk.
void TemporaryFile::LinkToName() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int i = 0; i < kNameTries; ++i) {
    const fs::path path = NameBeside(target_, i);
    const EndingSignalsHeld held;
    int linked = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
    if (linked != 0 && errno == ENOENT) linked = linkat(fd_, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH);  // no /proc
    if (linked != 0 && errno == EEXIST) continue;
    if (linked != 0) throw SystemFailure{errno};
    path_ = path;
    Arm(path_);
    return;
  }
  throw SystemFailure{EEXIST};
}

void TemporaryFile::Write(std::string_view content) const {
  if (const int error = WriteAll(fd_, content); error != 0) throw SystemFailure{error};
}

void TemporaryFile::Replace() {
  struct stat old {};
  const bool existed = stat(target_.c_str(), &old) == 0;
  if (existed && fchmod(fd_, old.st_mode & 07777) != 0) throw SystemFailure{errno};
  if (fsync(fd_) != 0) throw SystemFailure{errno};
  if (path_.empty()) LinkToName();
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) throw SystemFailure{errno};
  // Whatever took the target's place meanwhile is renamed over only if it is a plain file too.
  struct stat now {};
  if (lstat(target_.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) throw SystemFailure{EEXIST};
  const EndingSignalsHeld held;
  if (rename(path_.c_str(), target_.c_str()) != 0) throw SystemFailure{errno};
  renamed_ = true;
  g_pending.armed = 0;
}

}  // namespace ferrolux::platform
