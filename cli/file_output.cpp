#include "cli/file_output.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>

#include "cli/command_error.hpp"

namespace ferrolux::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // as the kernel follows them
constexpr int kNameTries = 100;
constexpr mode_t kNewFileMode = 0666;  // the umask takes its share
constexpr size_t kBufferBytes = 1 << 16;

// A failed system call, with the reason in the C library's words.
struct SystemFailure {
  int error;
};

// The file a chain of symlinks ends at; the path itself when it is none.
fs::path FinalTarget(fs::path file) {
  std::error_code error;
  for (int i = 0; i < kMostLinks && fs::is_symlink(fs::symlink_status(file, error)); ++i) {
    const fs::path link = fs::read_symlink(file, error);
    if (error) break;
    file = link.is_absolute() ? link : file.parent_path() / link;
  }
  return file;
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

// The temporary beside the target; removed unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    std::string stem = ".";  // appended, as GCC 12 warns falsely of a literal plus a temporary
    stem.append(target.filename().string()).append(".").append(std::to_string(getpid())).append(".");
    for (int i = 0; i < kNameTries && fd_ < 0; ++i) {
      path_ = target.parent_path() / (stem + std::to_string(i));
      fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
      if (fd_ < 0 && errno != EEXIST) throw SystemFailure{errno};
    }
    if (fd_ < 0) throw SystemFailure{EEXIST};
  }
  ~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!renamed_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view content) const {
    while (!content.empty()) {
      const ssize_t written = write(fd_, content.data(), content.size());
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) throw SystemFailure{errno};
      content.remove_prefix(static_cast<size_t>(written));
    }
  }

  // Gives the new file the old one's permissions, puts it on disk and renames it over the target.
  void Replace(const fs::path& target) {
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && fchmod(fd_, old.st_mode & 07777) != 0) throw SystemFailure{errno};
    if (fsync(fd_) != 0) throw SystemFailure{errno};
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) throw SystemFailure{errno};
    if (rename(path_.c_str(), target.c_str()) != 0) throw SystemFailure{errno};
    renamed_ = true;
  }

 private:
  fs::path path_;
  int fd_ = -1;
  bool renamed_ = false;
};

// What a writer puts out goes to the temporary file a buffer at a time, so a long text is never
// held whole. A stream cannot carry the reason a write failed: it is kept for Finish.
class TemporaryFileBuffer : public std::streambuf {
 public:
  explicit TemporaryFileBuffer(const TemporaryFile& file) : file_(file) { Empty(); }

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
      file_.Write(std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
    } catch (const SystemFailure& failure) {
      error_ = failure.error;
      return -1;
    }
    Empty();
    return 0;
  }

 private:
  void Empty() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

  const TemporaryFile& file_;
  std::array<char, kBufferBytes> buffer_{};
  int error_ = 0;
};

}  // namespace

void WriteFileAtomically(const fs::path& file, std::string_view content) {
  WriteFileAtomically(file, [content](std::ostream& out) { out.write(content.data(), std::ssize(content)); });
}

void WriteFileAtomically(const fs::path& file, const std::function<void(std::ostream&)>& write) {
  try {
    if (file.empty()) throw SystemFailure{ENOENT};
    const FileSizeSignalIgnored ignored;
    const fs::path target = FinalTarget(file);
    TemporaryFile temporary(target);
    TemporaryFileBuffer buffer(temporary);
    std::ostream out(&buffer);
    write(out);
    buffer.Finish();
    temporary.Replace(target);
  } catch (const SystemFailure& failure) {
    throw CommandError(kExitFailure, file.string() + ": could not be written: " + std::strerror(failure.error));
  }
}

void WriteFileOrOut(const std::string& name, std::string_view content, std::ostream& out) {
  if (name == "-") out << content;
  else WriteFileAtomically(name, content);
}

}  // namespace ferrolux::cli
