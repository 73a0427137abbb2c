#include "platform/console_info.hpp"

#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <clocale>
#include <cstring>

namespace ferrolux::platform {

bool IsInteractive() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

OutputConsole StandardOutputConsole() {
  OutputConsole console;
  console.terminal = isatty(STDOUT_FILENO) == 1;
  winsize size{};
  if (console.terminal && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0) {
    console.columns = size.ws_col;
    console.rows = size.ws_row;
  }
  return console;
}

bool OutputIsUtf8() {
  std::setlocale(LC_CTYPE, "");
  return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

}  // namespace ferrolux::platform
