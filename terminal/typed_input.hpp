#pragma once
// Bytes typed on the terminal become key texts of one byte. A UTF-8 terminal sends each
// character as up to four bytes; a byte that cannot be part of a character (a terminal
// sending 8-bit text, a stray byte in a paste) stands for itself, and never swallows the
// key after it.

#include <optional>
#include <string>
#include <vector>

namespace ferrolux {

// A typed character as its key text; characters without a single byte give none.
std::optional<std::string> KeyTextOfChar(char32_t ch);

class TypedInputDecoder {
 public:
  explicit TypedInputDecoder(bool utf8) : utf8_(utf8) {}

  // The key texts this byte completes, in order; none while a character is incomplete.
  std::vector<std::string> Feed(unsigned char byte);
  // No more bytes are coming for now: an incomplete character's bytes stand for themselves.
  std::vector<std::string> Flush();
  bool Pending() const { return !pending_.empty(); }

 private:
  void FinishCharacter(std::vector<std::string>& keys);
  void AppendRaw(std::vector<std::string>& keys);

  bool utf8_;
  std::string pending_;
  int length_ = 0;  // bytes of the character begun in pending_
};

}  // namespace ferrolux
