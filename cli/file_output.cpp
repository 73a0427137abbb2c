#include "cli/file_output.hpp"

#include <ostream>

#include "cli/command_error.hpp"
#include "platform/utf8_args.hpp"
#include "report/file_output.hpp"

namespace ferrolux::cli {

void WriteFileAtomically(const std::filesystem::path& file, std::string_view content) {
  WriteFileAtomically(file, [content](std::ostream& out) { out.write(content.data(), std::ssize(content)); });
}

void WriteFileAtomically(const std::filesystem::path& file, const std::function<void(std::ostream&)>& write) {
  try {
    WriteWholeFile(file, write);
  } catch (const FileWriteError& failure) {
    throw CommandError(kExitFailure, failure.what());
  }
}

void WriteFileOrOut(const std::string& name, std::string_view content, std::ostream& out) {
  if (name == "-") out << content;
  else WriteFileAtomically(platform::PathOfUtf8(name), content);
}

}  // namespace ferrolux::cli
