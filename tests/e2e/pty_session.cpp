#include "pty_session.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <vterm.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "terminal/painter.hpp"
#include "text/charset.hpp"

namespace ferrolux::e2e {

namespace {

int OnBell(void* user) {
  ++static_cast<PtySession*>(user)->bells_;
  return 1;
}

int OnProperty(VTermProp property, VTermValue* value, void* user) {
  auto* session = static_cast<PtySession*>(user);
  if (property == VTERM_PROP_CURSORVISIBLE) session->cursorVisible_ = value->boolean != 0;
  if (property == VTERM_PROP_ALTSCREEN) session->alternateScreen_ = value->boolean != 0;
  if (property == VTERM_PROP_TITLE) session->title_ = value->string != nullptr ? value->string : "";
  return 1;
}

VTermScreenCallbacks BellCallbacks() {
  VTermScreenCallbacks callbacks{};
  callbacks.bell = OnBell;
  callbacks.settermprop = OnProperty;
  return callbacks;
}

int ColorNumber(VTermColor color, bool foreground) {
  if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&color) : VTERM_COLOR_IS_DEFAULT_BG(&color)) return -1;
  if (VTERM_COLOR_IS_INDEXED(&color)) return TerminalColor(color.indexed.idx & 15);  // the swap turns it back
  return -2;
}

void OnAnswer(const char* bytes, size_t size, void* user) { static_cast<std::string*>(user)->append(bytes, size); }

// What a terminal without side margins ignores.
constexpr std::string_view kSideMarginSequences[] = {"\x1b[?69h", "\x1b[?69l", "\x1b[?69$p"};

std::string WithoutSideMarginSequences(std::string text) {
  for (const std::string_view sequence : kSideMarginSequences)
    for (size_t at = text.find(sequence); at != std::string::npos; at = text.find(sequence, at))
      text.erase(at, sequence.size());
  return text;
}

// How many bytes at the end of the text may be the start of one of those sequences.
size_t SideMarginSequenceBegun(std::string_view text) {
  for (size_t length = std::min<size_t>(text.size(), kSideMarginSequences[2].size()); length > 0; --length)
    for (const std::string_view sequence : kSideMarginSequences)
      if (length < sequence.size() && sequence.starts_with(text.substr(text.size() - length))) return length;
  return 0;
}

VTermScreenCell CellAt(VTermScreen* screen, int row, int column) {
  VTermScreenCell cell{};
  vterm_screen_get_cell(screen, VTermPos{row - 1, column - 1}, &cell);
  return cell;
}

}  // namespace

PtySession::PtySession(const std::string& binary, const std::filesystem::path& folder, int columns, int rows,
                       const std::vector<std::string>& arguments) {
  struct winsize size {};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  // Built before the fork, so the child only has to exec.
  std::vector<char*> argv{const_cast<char*>(binary.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  child_ = forkpty(&master_, nullptr, nullptr, &size);
  if (child_ < 0) throw std::runtime_error("forkpty failed");
  if (child_ == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    setenv("TERM", "xterm-256color", 1);
    setenv("LANG", "C.UTF-8", 1);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  vterm_ = vterm_new(rows, columns);
  vterm_set_utf8(vterm_, 1);
  vterm_output_set_callback(vterm_, OnAnswer, &answers_);
  screen_ = vterm_obtain_screen(vterm_);
  static const VTermScreenCallbacks callbacks = BellCallbacks();
  vterm_screen_set_callbacks(screen_, &callbacks, this);
  vterm_screen_enable_altscreen(screen_, 1);
  vterm_screen_reset(screen_, 1);
}

PtySession::~PtySession() {
  if (child_ > 0 && status_ < 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
  if (vterm_ != nullptr) vterm_free(vterm_);
}

// The program echoes while it reads, so a long paste is written as the terminal drains what it
// shows; otherwise both ends would wait on full buffers.
void PtySession::Send(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    struct pollfd watched = {master_, POLLIN | POLLOUT, 0};
    if (poll(&watched, 1, 1000) <= 0 || (watched.revents & (POLLERR | POLLHUP | POLLNVAL))) return;
    if (watched.revents & POLLIN) Pump();
    if (!(watched.revents & POLLOUT)) continue;
    const ssize_t written = write(master_, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EAGAIN) continue;
    if (written <= 0) return;
    done += static_cast<size_t>(written);
  }
}

void PtySession::SendUnread(const std::string& bytes) {
  [[maybe_unused]] const ssize_t written = write(master_, bytes.data(), bytes.size());
}

void PtySession::Pump(std::chrono::milliseconds wait) {
  struct pollfd watched = {master_, POLLIN, 0};
  int timeout = static_cast<int>(wait.count());
  while (poll(&watched, 1, timeout) > 0 && (watched.revents & POLLIN)) {
    char buffer[65536];
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got <= 0) return;
    output_.append(buffer, static_cast<size_t>(got));
    Feed(buffer, static_cast<size_t>(got));
    timeout = 0;
  }
  Answer();
}

void PtySession::Feed(const char* bytes, size_t size) {
  if (!lacksSideMargins_) {
    vterm_input_write(vterm_, bytes, size);
    return;
  }
  std::string text = WithoutSideMarginSequences(held_ + std::string(bytes, size));
  const size_t begun = SideMarginSequenceBegun(text);
  held_ = text.substr(text.size() - begun);
  vterm_input_write(vterm_, text.data(), text.size() - begun);
}

void PtySession::Answer() {
  if (answers_.empty() || master_ < 0) return;
  [[maybe_unused]] const ssize_t written = write(master_, answers_.data(), answers_.size());
  answers_.clear();
}

bool PtySession::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || master_ < 0) return false;
    const size_t seen = output_.size();
    struct pollfd watched = {master_, POLLIN, 0};
    if (poll(&watched, 1, static_cast<int>(left.count())) <= 0) continue;
    Pump();
    if (output_.size() == seen) return done();  // the other end has gone
  }
}

bool PtySession::WaitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const size_t seen = output_.size();
    Pump(quiet);
    if (output_.size() == seen) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
  }
}

bool PtySession::WaitForText(const std::string& text, std::chrono::milliseconds timeout) {
  if (!PumpUntil([&] { return Screen().find(text) != std::string::npos; }, timeout)) return false;
  // Let the rest of that screen arrive before the test reads it.
  WaitForQuiet(std::chrono::milliseconds(30));
  return true;
}

bool PtySession::WaitForTextGone(const std::string& text, std::chrono::milliseconds timeout) {
  return PumpUntil([&] { return Screen().find(text) == std::string::npos; }, timeout);
}

std::string PtySession::Cell(int row, int column) const {
  const VTermScreenCell cell = CellAt(screen_, row, column);
  std::string text;
  if (cell.chars[0] == 0) return " ";
  for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i) AppendUtf8(text, cell.chars[i]);
  return text;
}

CellColors PtySession::Colors(int row, int column) const {
  const VTermScreenCell cell = CellAt(screen_, row, column);
  return {ColorNumber(cell.fg, true), ColorNumber(cell.bg, false)};
}

bool PtySession::Reverse(int row, int column) const { return CellAt(screen_, row, column).attrs.reverse != 0; }

void PtySession::Emulate(const std::string& bytes) { vterm_input_write(vterm_, bytes.data(), bytes.size()); }

std::string PtySession::Row(int row) const {
  int rows = 0, columns = 0;
  vterm_get_size(vterm_, &rows, &columns);
  std::string text;
  for (int column = 1; column <= columns; ++column) text += Cell(row, column);
  return text;
}

std::string PtySession::Screen() const {
  int rows = 0, columns = 0;
  vterm_get_size(vterm_, &rows, &columns);
  std::string text;
  for (int row = 1; row <= rows; ++row) text += Row(row) + "\n";
  return text;
}

void PtySession::Resize(int columns, int rows) {
  vterm_set_size(vterm_, rows, columns);
  ResizeWindow(columns, rows);
}

void PtySession::ResizeWindow(int columns, int rows) {
  struct winsize size {};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  ioctl(master_, TIOCSWINSZ, &size);
  kill(child_, SIGWINCH);
}

void PtySession::CloseMaster() {
  close(master_);
  master_ = -1;
}

void PtySession::Signal(int signal) { kill(child_, signal); }

int PtySession::WaitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    Pump(std::chrono::milliseconds(status_ < 0 && timeout.count() > 0 ? 10 : 0));
    int raw = 0;
    if (status_ < 0 && waitpid(child_, &raw, WNOHANG) == child_)
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  } while (status_ < 0 && std::chrono::steady_clock::now() < deadline);
  Pump(std::chrono::milliseconds(20));
  return status_;
}

bool PtySession::TerminalModesRestored() const {
  struct termios modes {};
  if (tcgetattr(master_, &modes) != 0) return false;
  return (modes.c_lflag & ICANON) && (modes.c_lflag & ECHO);
}

std::string PtySession::Modes() const {
  struct termios modes {};
  if (tcgetattr(master_, &modes) != 0) return {};
  std::string text = std::to_string(modes.c_iflag) + ":" + std::to_string(modes.c_oflag) + ":" +
                     std::to_string(modes.c_cflag) + ":" + std::to_string(modes.c_lflag);
  for (cc_t c : modes.c_cc) text.append(":").append(std::to_string(c));
  return text;
}

}  // namespace ferrolux::e2e
