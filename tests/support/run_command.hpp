#pragma once
// A shell command run to its end with no terminal: its exit status and what it wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_folder.hpp"

namespace ferrolux::testing {

struct CommandResult {
  int status = -1;  // the exit status, -1 when a signal ended it
  std::string out, err;
};

inline std::string Quoted(const std::filesystem::path& path) { return std::string("'").append(path.string()).append("'"); }

inline std::string FileText(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

// `command` is shell text; its standard input is empty and its output lands in `scratch`.
inline CommandResult RunCommand(const std::string& command, const TempFolder& scratch) {
  const std::filesystem::path out = scratch.Path() / "stdout", err = scratch.Path() / "stderr";
  const int raw = std::system(("(" + command + ") </dev/null >" + Quoted(out) + " 2>" + Quoted(err)).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileText(out), FileText(err)};
}

}  // namespace ferrolux::testing
