#pragma once
// The command line as UTF-8 on every system: as it comes on POSIX, converted from the UTF-16
// command line on Windows (whose narrow argv loses what the code page cannot hold). On Windows
// the process's text goes out as on Linux too: the console reads and shows UTF-8, and standard
// output and error are in binary mode, so "\n" is not turned into CR LF behind the program's back.

#include <filesystem>
#include <string>
#include <vector>

namespace ferrolux::platform {

// A path from UTF-8 text, and back: the C library's narrow conversion on Windows is its code
// page, which turns "Ω" into two wrong letters. On POSIX a path is its bytes.
std::filesystem::path PathOfUtf8(const std::string& text);
std::string Utf8OfPath(const std::filesystem::path& path);

class Utf8Arguments {
 public:
  Utf8Arguments(int argc, char** argv);
  int Count() const { return static_cast<int>(pointers_.size()) - 1; }
  char** Values() { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;  // into texts_, ending in a null as argv does
};

}  // namespace ferrolux::platform
