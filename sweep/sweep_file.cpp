#include "sweep/sweep_file.hpp"

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/files.hpp"
#include "platform/utf8_args.hpp"

namespace ferrolux {

namespace {

SweepFileError FileFault(const std::string& file, const std::string& reason) {
  return SweepFileError(file + ": " + reason);
}

// Without blocking on a FIFO at open; a directory opens, and is refused by its type.
int OpenRegularFile(const std::string& file) {
  int descriptor = -1;
  if (const int failure = platform::OpenForReading(platform::PathOfUtf8(file), descriptor); failure != 0)
    throw FileFault(file, std::strerror(failure));
  platform::FileStatus status;
  int failure = platform::StatusOf(descriptor, status);
  if (failure == 0 && status.directory) failure = EISDIR;
  if (failure != 0 || !status.regular) {
    platform::Close(descriptor);
    throw FileFault(file, failure != 0 ? std::strerror(failure) : "not a regular file");
  }
  return descriptor;
}

void ReadAll(const std::string& file, int descriptor, TouchstoneReader& reader) {
  std::array<char, 1 << 16> buffer{};
  for (;;) {
    const std::ptrdiff_t got = platform::ReadSome(descriptor, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw FileFault(file, std::strerror(errno));
    if (got == 0) return;
    reader.Read(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
  }
}

}  // namespace

Sweep ReadSweepFromFile(const std::string& file) {
  const platform::OpenFile open(OpenRegularFile(file));
  try {
    TouchstoneReader reader;
    ReadAll(file, open.Get(), reader);
    return reader.Finish();
  } catch (const TouchstoneError& error) {
    if (error.Line() == 0) throw FileFault(file, error.what());
    throw FileFault(file + ":" + std::to_string(error.Line()), error.what());
  }
}

}  // namespace ferrolux
