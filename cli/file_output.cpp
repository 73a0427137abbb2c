#include "cli/file_output.hpp"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/command_error.hpp"
#include "cli/temporary_file.hpp"

namespace ferrolux::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel follows them

// Where the text goes: replaced whole, or written into what is already there.
struct Destination {
  fs::path path;
  bool direct = false;
};

// A link in /proc (/dev/stdout, /dev/fd/N) names an open descriptor's file, not a path: only
// the kernel can follow it.
bool InProcessTable(const fs::path& link) {
  struct statfs folder {};
  const fs::path parent = link.has_parent_path() ? link.parent_path() : fs::path(".");
  return statfs(parent.c_str(), &folder) == 0 && folder.f_type == PROC_SUPER_MAGIC;
}

// The file a chain of symlinks ends at: a plain file or a new name is replaced; a device, FIFO
// or socket is written into, as the shell's `>` would, and never renamed over.
Destination Resolve(const fs::path& file) {
  fs::path target = file;
  std::error_code error;
  for (int i = 0; i < kMostLinks && fs::is_symlink(fs::symlink_status(target, error)); ++i) {
    if (InProcessTable(target)) return {file, true};
    const fs::path link = fs::read_symlink(target, error);
    if (error) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  struct stat status {};
  if (stat(target.c_str(), &status) != 0) {
    if (errno == ENOENT) return {target};
    throw SystemFailure{errno};
  }
  if (S_ISDIR(status.st_mode)) throw SystemFailure{EISDIR};
  return {target, !S_ISREG(status.st_mode)};
}

// Never creates: what was there a moment ago is written, or the write fails.
void WriteInto(const fs::path& file, std::string_view content) {
  const int fd = open(file.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw SystemFailure{errno};
  try {
    WriteAll(fd, content);
  } catch (const SystemFailure&) {
    close(fd);
    throw;
  }
  if (close(fd) != 0) throw SystemFailure{errno};
}

// A size limit (RLIMIT_FSIZE) would end the program with SIGXFSZ mid-write; ignored, the write
// fails with EFBIG instead and the old file is kept. Restored afterwards.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &saved_);
  }
  ~FileSizeSignalIgnored() { sigaction(SIGXFSZ, &saved_, nullptr); }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  struct sigaction saved_ {};
};

}  // namespace

void WriteFileAtomically(const fs::path& file, std::string_view content) {
  try {
    if (file.empty()) throw SystemFailure{ENOENT};
    const FileSizeSignalIgnored ignored;
    const Destination destination = Resolve(file);
    if (destination.direct) return WriteInto(destination.path, content);
    TemporaryFile temporary(destination.path);
    temporary.Write(content);
    temporary.Replace();
  } catch (const SystemFailure& failure) {
    throw CommandError(kExitFailure, file.string() + ": could not be written: " + std::strerror(failure.error));
  }
}

void WriteFileAtomically(const fs::path& file, const std::function<void(std::ostream&)>& write) {
  std::ostringstream text;
  write(text);
  WriteFileAtomically(file, text.view());
}

void WriteFileOrOut(const std::string& name, std::string_view content, std::ostream& out) {
  if (name == "-") out << content;
  else WriteFileAtomically(name, content);
}

}  // namespace ferrolux::cli
