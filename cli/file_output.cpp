#include "cli/file_output.hpp"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "cli/command_error.hpp"
#include "cli/temporary_file.hpp"

namespace ferrolux::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel follows them
constexpr size_t kBufferBytes = 1 << 16;

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

// What a writer puts out goes to `sink` a buffer at a time, so a long text is never held whole.
// A stream cannot carry the reason a write failed: it is kept for Finish.
class SinkBuffer : public std::streambuf {
 public:
  explicit SinkBuffer(std::function<void(std::string_view)> sink) : sink_(std::move(sink)) { Empty(); }

  // Throws SystemFailure for the first write that failed.
  void Finish() {
    if (sync() != 0) throw SystemFailure{error_};
  }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }

  int sync() override {
    if (error_ != 0) return -1;
    try {
      sink_(std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
    } catch (const SystemFailure& failure) {
      error_ = failure.error;
      return -1;
    }
    Empty();
    return 0;
  }

 private:
  void Empty() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

  std::function<void(std::string_view)> sink_;
  std::array<char, kBufferBytes> buffer_{};
  int error_ = 0;
};

void WriteThrough(const std::function<void(std::string_view)>& sink, const std::function<void(std::ostream&)>& write) {
  SinkBuffer buffer(sink);
  std::ostream out(&buffer);
  write(out);
  buffer.Finish();
}

// Never creates: what was there a moment ago is written, or the write fails.
void WriteInto(const fs::path& file, const std::function<void(std::ostream&)>& write) {
  const int fd = open(file.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw SystemFailure{errno};
  try {
    WriteThrough([fd](std::string_view text) { WriteAll(fd, text); }, write);
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
  WriteFileAtomically(file, [content](std::ostream& out) { out.write(content.data(), std::ssize(content)); });
}

void WriteFileAtomically(const fs::path& file, const std::function<void(std::ostream&)>& write) {
  try {
    if (file.empty()) throw SystemFailure{ENOENT};
    const FileSizeSignalIgnored ignored;
    const Destination destination = Resolve(file);
    if (destination.direct) return WriteInto(destination.path, write);
    TemporaryFile temporary(destination.path);
    WriteThrough([&temporary](std::string_view text) { temporary.Write(text); }, write);
    temporary.Replace();
  } catch (const SystemFailure& failure) {
    throw CommandError(kExitFailure, file.string() + ": could not be written: " + std::strerror(failure.error));
  }
}

void WriteFileOrOut(const std::string& name, std::string_view content, std::ostream& out) {
  if (name == "-") out << content;
  else WriteFileAtomically(name, content);
}

}  // namespace ferrolux::cli
