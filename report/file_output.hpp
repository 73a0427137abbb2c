#pragma once
// Files the program writes are replaced whole or not at all: the new text goes to a temporary
// file beside the old one, which is renamed over it once every byte is on disk. A symlink keeps
// pointing where it did (its target is replaced), and a file that existed keeps its mode. A
// device, FIFO or socket, and /dev/stdout, are written into as the shell's `>` would.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string_view>

namespace ferrolux {

// "FILE: could not be written: reason", ready to be shown as it is.
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws a FileWriteError naming the file and the reason ("No space left on device"); the old
// file is then unchanged and no temporary is left behind, nor when SIGINT, SIGTERM or SIGHUP ends
// the program mid-write.
void WriteWholeFile(const std::filesystem::path& file, std::string_view content);

// The same for text produced by `write`, which goes to the file as it is made, never held whole.
void WriteWholeFile(const std::filesystem::path& file, const std::function<void(std::ostream&)>& write);

}  // namespace ferrolux
