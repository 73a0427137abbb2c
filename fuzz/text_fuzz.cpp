// ParseNumber and FirstField take whatever a user types: never a crash, never a wrong read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)ferrolux::ParseNumber(text);
  const std::string field = ferrolux::FirstField(text);
  if (field.size() > text.size()) __builtin_trap();
  (void)ferrolux::ParseNumber(field);
  (void)ferrolux::UpperCase(text);
  (void)ferrolux::TrimBlanks(text);
  return 0;
}
