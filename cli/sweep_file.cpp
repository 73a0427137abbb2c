#include "cli/sweep_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "catalog/open_file.hpp"
#include "cli/command_error.hpp"

namespace ferrolux::cli {

namespace {

CommandError FileFault(const std::string& file, const std::string& reason) {
  return CommandError(kExitFailure, file + ": " + reason);
}

// Without blocking on a FIFO at open; a directory opens, and is refused by its type.
int OpenRegularFile(const std::string& file) {
  const int descriptor = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) throw FileFault(file, std::strerror(errno));
  struct stat status {};
  const int failure = fstat(descriptor, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  if (failure != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    throw FileFault(file, failure != 0 ? std::strerror(failure) : "not a regular file");
  }
  return descriptor;
}

void ReadAll(const std::string& file, int descriptor, TouchstoneReader& reader) {
  std::array<char, 1 << 16> buffer{};
  for (;;) {
    const ssize_t got = read(descriptor, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw FileFault(file, std::strerror(errno));
    if (got == 0) return;
    reader.Read(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
  }
}

}  // namespace

Sweep ReadSweep(const std::string& file) {
  const OpenFile open(OpenRegularFile(file));
  try {
    TouchstoneReader reader;
    ReadAll(file, open.Get(), reader);
    return reader.Finish();
  } catch (const TouchstoneError& error) {
    if (error.Line() == 0) throw FileFault(file, error.what());
    throw FileFault(file + ":" + std::to_string(error.Line()), error.what());
  }
}

}  // namespace ferrolux::cli
