#include "platform/utf8_args.hpp"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include <cstdio>

namespace ferrolux::platform {

namespace {

std::string Utf8Of(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminating null
  return text;
}

}  // namespace

std::filesystem::path PathOfUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8OfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

// The console shows and reads UTF-8 from here on, so a part number with "Ω" goes both ways.
Utf8Arguments::Utf8Arguments(int argc, char** argv) {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    texts_.assign(argv, argv + argc);
  } else {
    for (int i = 0; i < count; ++i) texts_.push_back(Utf8Of(wide[i]));
    LocalFree(wide);
  }
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);
}

}  // namespace ferrolux::platform
