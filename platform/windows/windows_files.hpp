#pragma once
// What the Windows side shares: its error codes in errno terms and its paths in UTF-16.

#include <filesystem>
#include <string>

namespace ferrolux::platform::windows {

// The errno value for a GetLastError() code, so that one set of messages serves both systems.
int ErrnoOf(unsigned long code);
int LastErrno();

// The path for a wide Windows call: absolute and with the \\?\ prefix once it reaches the old
// 260-character limit, which the prefix lifts.
std::wstring WidePath(const std::filesystem::path& path);

}  // namespace ferrolux::platform::windows
