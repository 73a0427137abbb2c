#pragma once
// The real program run with plain pipes, no terminal: as a script, cron or SSH without a pty
// would run it.

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ferrolux::e2e {

struct CommandResult {
  int status = -1;
  std::string out, err;
};

// Runs the binary (found on the PATH when it is a bare name) in `folder` with standard input
// closed; `environment` entries are added to the test's own environment (an empty value removes
// the variable).
inline CommandResult RunCommand(const std::string& binary, const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder,
                                const std::map<std::string, std::string>& environment = {}) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  std::vector<char*> argv{const_cast<char*>(binary.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    close(STDIN_FILENO);
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    for (const auto& [name, value] : environment) {
      if (value.empty()) unsetenv(name.c_str());
      else setenv(name.c_str(), value.c_str(), 1);
    }
    if (chdir(folder.c_str()) != 0) _exit(126);
    execvp(binary.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  CommandResult result;
  pollfd fds[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[] = {&result.out, &result.err};
  int status = 0;
  bool ended = false;
  // A long silent step (a package build) is waited out; output still held open by something the
  // command left running is not.
  for (int open = 2; open > 0 && !ended;) {
    const int ready = poll(fds, 2, 10000);
    if (ready < 0) break;
    if (ready == 0) ended = waitpid(child, &status, WNOHANG) == child;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(got));
        continue;
      }
      close(fds[i].fd);
      fds[i].fd = -1;
      --open;
    }
  }
  for (const pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
  if (!ended) waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace ferrolux::e2e
