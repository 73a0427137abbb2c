// Whatever bytes a terminal or a paste sends, typed input becomes keys of one byte, no NUL
// among them, and every plain byte is a key of its own: nothing typed is lost or merged. A
// terminal's string reply, whatever it holds, gives no key, and the key after it is kept; so
// does a mode report, whatever its numbers.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "terminal/key_sequences.hpp"
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

// The input as the body of an OSC reply ended by BEL, with the bytes that end a string taken
// out and kept inside the length bound, then a typed 'z'.
void StringReplyGivesNoKey(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kBody = 4096;
  ferrolux::KeyDecoder decoder(true);
  std::deque<ferrolux::Key> keys;
  std::string bytes = "\x1b]";
  for (std::size_t i = 0; i < size && bytes.size() < kBody; ++i)
    if (data[i] != 0x1b && data[i] != 0x07 && data[i] != 0x18 && data[i] != 0x1a) bytes += static_cast<char>(data[i]);
  bytes += "\az";
  for (char byte : bytes) decoder.Feed(static_cast<unsigned char>(byte), keys);
  decoder.Flush(keys);
  if (keys.size() != 1 || keys.front() != ferrolux::Key('z')) __builtin_trap();
}

// CSI ? and the input's digits and semicolons, then $ y and a typed 'z'.
void ModeReportGivesNoKey(const std::uint8_t* data, std::size_t size) {
  ferrolux::KeyDecoder decoder(true);
  std::deque<ferrolux::Key> keys;
  std::string bytes = "\x1b[?";
  for (std::size_t i = 0; i < size; ++i)
    if ((data[i] >= '0' && data[i] <= '9') || data[i] == ';') bytes += static_cast<char>(data[i]);
  bytes += "$yz";
  for (char byte : bytes) decoder.Feed(static_cast<unsigned char>(byte), keys);
  decoder.Flush(keys);
  if (keys.size() != 1 || keys.front() != ferrolux::Key('z')) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < size; ++i) plain += data[i] != 0 && data[i] < 0x80;
  const std::size_t utf8Keys = KeysOf(true, data, size);
  if (utf8Keys < plain || utf8Keys > size) __builtin_trap();
  if (KeysOf(false, data, size) > size) __builtin_trap();
  StringReplyGivesNoKey(data, size);
  ModeReportGivesNoKey(data, size);
  return 0;
}
