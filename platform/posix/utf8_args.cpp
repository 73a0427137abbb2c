#include "platform/utf8_args.hpp"

namespace ferrolux::platform {

std::filesystem::path PathOfUtf8(const std::string& text) { return text; }

std::string Utf8OfPath(const std::filesystem::path& path) { return path.string(); }

Utf8Arguments::Utf8Arguments(int argc, char** argv) : texts_(argv, argv + argc) {
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);
}

}  // namespace ferrolux::platform
