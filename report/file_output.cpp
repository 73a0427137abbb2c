#include "report/file_output.hpp"

#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "platform/files.hpp"
#include "platform/temporary_file.hpp"
#include "platform/utf8_args.hpp"

namespace ferrolux {

namespace {

namespace fs = std::filesystem;
using platform::SystemFailure;

constexpr size_t kBufferBytes = 1 << 16;

void Check(int error) {
  if (error != 0) throw SystemFailure{error};
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
  int fd = -1;
  Check(platform::OpenForWritingInto(file, fd));
  try {
    WriteThrough([fd](std::string_view text) { Check(platform::WriteAll(fd, text)); }, write);
  } catch (const SystemFailure&) {
    platform::Close(fd);
    throw;
  }
  Check(platform::Close(fd));
}

}  // namespace

void WriteWholeFile(const fs::path& file, std::string_view content) {
  WriteWholeFile(file, [content](std::ostream& out) { out.write(content.data(), std::ssize(content)); });
}

void WriteWholeFile(const fs::path& file, const std::function<void(std::ostream&)>& write) {
  try {
    if (file.empty()) throw SystemFailure{ENOENT};
    const platform::FileSizeSignalIgnored ignored;
    const platform::Destination destination = platform::ResolveDestination(file);
    Check(destination.error);
    if (destination.direct) return WriteInto(destination.path, write);
    platform::TemporaryFile temporary(destination.path);
    WriteThrough([&temporary](std::string_view text) { temporary.Write(text); }, write);
    temporary.Replace();
  } catch (const SystemFailure& failure) {
    throw FileWriteError(platform::Utf8OfPath(file) + ": could not be written: " + std::strerror(failure.error));
  }
}

}  // namespace ferrolux
