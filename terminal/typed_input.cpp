#include "terminal/typed_input.hpp"

#include <cwchar>

#include "console/keys.hpp"

namespace ferrolux {

namespace {

// The length of the character a lead byte begins; 0 for a byte that begins none.
int Utf8Length(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Overlong forms, surrogates and values past U+10FFFF are not characters.
std::optional<char32_t> DecodeUtf8(const std::string& bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  char32_t ch = lead & (0x7F >> bytes.size());
  for (size_t i = 1; i < bytes.size(); ++i) ch = (ch << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (ch < kSmallest[bytes.size()] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return std::nullopt;
  return ch;
}

Key RawKey(unsigned char byte) { return Key(static_cast<char>(byte)); }

}  // namespace

void TypedInputDecoder::AppendRaw(std::vector<Key>& keys) {
  for (char byte : pending_) keys.push_back(RawKey(static_cast<unsigned char>(byte)));
  pending_.clear();
}

void TypedInputDecoder::FinishCharacter(std::vector<Key>& keys) {
  if (const std::optional<char32_t> ch = DecodeUtf8(pending_)) {
    if (const std::optional<Key> key = KeyOfChar(*ch)) keys.push_back(*key);
    pending_.clear();
    return;
  }
  AppendRaw(keys);
}

std::vector<Key> TypedInputDecoder::Feed(unsigned char byte) {
  std::vector<Key> keys;
  if (!utf8_) {
    const wint_t wide = std::btowc(byte);
    const std::optional<Key> key = wide == WEOF ? RawKey(byte) : KeyOfChar(static_cast<char32_t>(wide));
    if (key) keys.push_back(*key);
    return keys;
  }
  if (!pending_.empty() && IsContinuation(byte)) {
    pending_ += static_cast<char>(byte);
    if (static_cast<int>(pending_.size()) == length_) FinishCharacter(keys);
    return keys;
  }
  AppendRaw(keys);  // a character cut short: its bytes stand for themselves
  if (const int length = Utf8Length(byte)) {
    pending_.assign(1, static_cast<char>(byte));
    length_ = length;
  } else if (byte < 0x80) {
    if (const std::optional<Key> key = KeyOfChar(byte)) keys.push_back(*key);
  } else {
    keys.push_back(RawKey(byte));
  }
  return keys;
}

std::vector<Key> TypedInputDecoder::Flush() {
  std::vector<Key> keys;
  AppendRaw(keys);
  return keys;
}

}  // namespace ferrolux
