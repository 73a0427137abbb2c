#pragma once
// The new text of a file being replaced, beside the old one. It is made without a name where the
// file system allows, so an interrupted program leaves nothing behind; a name it must have is
// removed if SIGINT, SIGTERM or SIGHUP (on Windows Ctrl+C, Ctrl+Break or the console closing)
// ends the program before the file is renamed into place.

#include <filesystem>
#include <string_view>

namespace ferrolux::platform {

// A failed system call: its errno value, for the reason in the C library's words.
struct SystemFailure {
  int error;
};

class TemporaryFile {
 public:
  enum class Kind { kUnnamedWherePossible, kNamed };

  // Throws SystemFailure.
  explicit TemporaryFile(const std::filesystem::path& target, Kind kind = Kind::kUnnamedWherePossible);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view content) const;

  // Gives the new file the old one's permissions, puts it on disk and puts it in the target's
  // place; on a failure the target is as it was.
  void Replace();

 private:
  void OpenNamed();
  void LinkToName();

  std::filesystem::path target_;
  std::filesystem::path path_;  // empty while the file has no name
  int fd_ = -1;                 // a C runtime descriptor on Windows too
  bool renamed_ = false;
};

}  // namespace ferrolux::platform
