#pragma once
// The files a subcommand writes, replaced whole or not at all (report/file_output.hpp says how),
// with a failure that is the command's.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace ferrolux::cli {

// Throws a CommandError (status 1) naming the file and the reason ("No space left on device").
void WriteFileAtomically(const std::filesystem::path& file, std::string_view content);

// The same for text produced by `write`, which goes to the file as it is made, never held whole.
void WriteFileAtomically(const std::filesystem::path& file, const std::function<void(std::ostream&)>& write);

// The content on `out` when the name is "-" (standard output), else into the file as above.
void WriteFileOrOut(const std::string& name, std::string_view content, std::ostream& out);

}  // namespace ferrolux::cli
