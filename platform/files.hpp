#pragma once
// Files as the program needs them on every system, with failures as errno values so that one
// set of messages serves both: read with a shared lock, looked at, written into.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace ferrolux::platform {

// A file descriptor closed (and so its locks dropped) on every way out.
class OpenFile {
 public:
  explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

// Opens for reading only, without blocking on a FIFO or taking a controlling terminal.
// Gives 0 and the descriptor, or the errno value.
int OpenForReading(const std::filesystem::path& file, int& descriptor);

// What the readers compare to see a file change under them.
struct FileStatus {
  bool regular = false;
  bool directory = false;
  std::uint64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t identity = 0;  // the inode, or the file index
  std::chrono::system_clock::time_point modified;
  std::chrono::system_clock::time_point changed;  // its status, where the system keeps that apart
  bool operator==(const FileStatus&) const = default;
};

// Gives 0 or the errno value.
int StatusOf(int descriptor, FileStatus& status);

// As read(2): the count, 0 at the end, or -1 with errno set.
std::ptrdiff_t ReadSome(int descriptor, char* buffer, std::size_t size);

// The byte at `offset`, leaving the reading position where it was; false when it cannot be read.
bool ReadByteAt(int descriptor, std::uint64_t offset, char& byte);

// Back to the start for another read; gives 0 or the errno value.
int Rewind(int descriptor);

// A shared lock that keeps writers out and lets readers in, taken without waiting: 0, or the
// errno value (EWOULDBLOCK or EACCES while a writer holds the file).
int TakeSharedReadLock(int descriptor);

// Only a file that is not there: one that exists but cannot be read is not missing.
bool IsMissing(const std::filesystem::path& file);

// Writes all of `content`; gives 0 or the errno value.
int WriteAll(int descriptor, std::string_view content);

// Opens what is already there for writing over it, never creating; gives 0 or the errno value.
int OpenForWritingInto(const std::filesystem::path& file, int& descriptor);

// Closes, and gives 0 or the errno value of a write the close found failed.
int Close(int descriptor);

// Where a file the program writes goes: a plain file (or a new name) is replaced whole; a
// device, FIFO or socket (the console, /dev/stdout) is written into, as the shell's `>` would.
struct Destination {
  std::filesystem::path path;  // symlinks followed: the file that is replaced
  bool direct = false;
  int error = 0;  // errno value: a folder, or a path that cannot be looked at
};
Destination ResolveDestination(const std::filesystem::path& file);

// A file-size limit ends a POSIX program mid-write with a signal; while this lives, the write
// fails with EFBIG instead and the old file is kept.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored();
  ~FileSizeSignalIgnored();
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

// This process's number, for names no other process picks.
int ProcessId();

}  // namespace ferrolux::platform
