// Whatever bytes a terminal or a paste sends, typed input becomes keys of one byte, no NUL
// among them, and every plain byte is a key of its own: nothing typed is lost or merged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "terminal/typed_input.hpp"

namespace {

std::size_t KeysOf(bool utf8, const std::uint8_t* data, std::size_t size) {
  ferrolux::TypedInputDecoder decoder(utf8);
  std::size_t keys = 0;
  auto check = [&keys](const std::vector<ferrolux::Key>& completed) {
    for (const ferrolux::Key& key : completed)
      if (!key.IsTyped() || key.Typed() == '\0') __builtin_trap();
    keys += completed.size();
  };
  for (std::size_t i = 0; i < size; ++i) check(decoder.Feed(data[i]));
  check(decoder.Flush());
  if (decoder.Pending()) __builtin_trap();
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < size; ++i) plain += data[i] != 0 && data[i] < 0x80;
  const std::size_t utf8Keys = KeysOf(true, data, size);
  if (utf8Keys < plain || utf8Keys > size) __builtin_trap();
  if (KeysOf(false, data, size) > size) __builtin_trap();
  return 0;
}
