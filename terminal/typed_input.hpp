#pragma once
// Bytes typed on the terminal become keys of one byte. A UTF-8 terminal sends each
// character as up to four bytes; a byte that cannot be part of a character (a terminal
// sending 8-bit text, a stray byte in a paste) stands for itself, and never swallows the
// key after it.

#include <optional>
#include <string>
#include <vector>

#include "console/keys.hpp"
#include "pageio/typed_key.hpp"

namespace ferrolux {

class TypedInputDecoder {
 public:
  explicit TypedInputDecoder(bool utf8) : utf8_(utf8) {}

  // The keys this byte completes, in order; none while a character is incomplete.
  std::vector<Key> Feed(unsigned char byte);
  // No more bytes are coming for now: an incomplete character's bytes stand for themselves.
  std::vector<Key> Flush();
  bool Pending() const { return !pending_.empty(); }

 private:
  void FinishCharacter(std::vector<Key>& keys);
  void AppendRaw(std::vector<Key>& keys);

  bool utf8_;
  std::string pending_;
  int length_ = 0;  // bytes of the character begun in pending_
};

}  // namespace ferrolux
