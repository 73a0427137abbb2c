#pragma once
// A file descriptor closed (and so its locks dropped) on every way out.

#include <unistd.h>

namespace ferrolux {

class OpenFile {
 public:
  explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
  ~OpenFile() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

}  // namespace ferrolux
