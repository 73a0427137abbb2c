#include "pageio/typed_key.hpp"

#include "text/charset.hpp"

namespace ferrolux {

namespace {
constexpr char32_t kDelete = 127;
}  // namespace

std::optional<Key> KeyOfChar(char32_t ch) {
  if (ch == kDelete) return keys::kBackspace;  // most terminals send DEL for Backspace
  if (ch == '\n') return keys::kEnter;
  if (ch == 0) return std::nullopt;  // NUL begins the key text of every key without a character
  const std::optional<unsigned char> byte = ByteOfTypedChar(ch);
  if (!byte) return std::nullopt;
  return Key(static_cast<char>(*byte));
}

}  // namespace ferrolux
