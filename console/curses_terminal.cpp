#include "console/curses_terminal.hpp"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <curses.h>

#include "console/charset.hpp"
#include "console/curses_codes.hpp"
#include "console/keys.hpp"
#include "console/typed_input.hpp"

namespace ferrolux {

namespace {

int g_signalWriteEnd = -1;

// Only async-signal-safe work here: record the signal for the loop.
void RecordSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = write(g_signalWriteEnd, &byte, 1);
  errno = saved;
}

// Ctrl+\ too: a core dump would leave the terminal on the page, without echo.
constexpr int kHandledSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGWINCH};
constexpr int kEscapeDelayMs = 50;
const char kNotice[] = "Ferrolux needs a terminal of at least 120 columns by 43 rows. Please enlarge it.";
constexpr Colors kNoticeColors{7, 0};

// ESC [ 3x/9x m (foreground) and 4x/10x m (background): the sixteen colours every terminal knows.
std::string ColorSequence(Colors colors) {
  const int fg = TerminalColor(colors.foreground), bg = TerminalColor(colors.background);
  return "\x1b[" + std::to_string((fg & 8 ? 90 : 30) + (fg & 7)) + ";" +
         std::to_string((bg & 8 ? 100 : 40) + (bg & 7)) + "m";
}

std::string Utf8Of(std::u32string_view glyphs) {
  std::string out;
  for (char32_t glyph : glyphs) AppendUtf8(out, glyph);
  return out;
}

std::optional<std::string> KeyTextOfCode(int code) {
  switch (code) {
    case KEY_UP: return keys::kUp;
    case KEY_DOWN: return keys::kDown;
    case KEY_LEFT: return keys::kLeft;
    case KEY_RIGHT: return keys::kRight;
    case KEY_HOME: return keys::kHome;
    case KEY_END: return keys::kEnd;
    case KEY_PPAGE: return keys::kPageUp;
    case KEY_NPAGE: return keys::kPageDown;
    case KEY_IC: return keys::kInsert;
    case KEY_DC: return keys::kDelete;
    case KEY_BACKSPACE: return keys::kBackspace;
    case KEY_ENTER: return keys::kEnter;
    default: break;
  }
  for (int n = 1; n <= 10; ++n)
    if (code == KEY_F(n)) return keys::Function(n);
  return std::nullopt;
}

// A terminal that ignores the keypad mode sends its cursor keys as ESC [ A and so on; those
// should move the bar too, not type "[A".
void DefineCursorKeysOfNormalMode() {
  static constexpr std::pair<const char*, int> kNormalMode[] = {
      {"\x1b[A", KEY_UP}, {"\x1b[B", KEY_DOWN}, {"\x1b[C", KEY_RIGHT},
      {"\x1b[D", KEY_LEFT}, {"\x1b[H", KEY_HOME}, {"\x1b[F", KEY_END}};
  for (const auto& [sequence, code] : kNormalMode)
    if (key_defined(sequence) == 0) define_key(sequence, code);
}

}  // namespace

SignalPipe::SignalPipe() {
  if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot create the signal pipe");
  g_signalWriteEnd = fds_[1];
  for (int signal : kHandledSignals) {
    struct sigaction action {};
    action.sa_handler = RecordSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction old {};
    if (sigaction(signal, &action, &old) == 0) previous_[signal] = old;
  }
}

SignalPipe::~SignalPipe() {
  for (const auto& [signal, old] : previous_) sigaction(signal, &old, nullptr);
  g_signalWriteEnd = -1;
  close(fds_[0]);
  close(fds_[1]);
}

int SignalPipe::Take() {
  unsigned char byte = 0;
  return read(fds_[0], &byte, 1) == 1 ? byte : 0;
}

CursesTerminal::CursesTerminal() {
  std::setlocale(LC_ALL, "");
  utf8_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  typed_ = TypedInputDecoder(utf8_);
  if (tcgetattr(STDIN_FILENO, &original_) != 0) throw std::runtime_error("cannot read the terminal modes");
  termiosSaved_ = true;
  // Keys one at a time and unechoed, even before the page is taken; signals stay on.
  struct termios keys = original_;
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  // Ctrl+S must reach the program as a key, not freeze its output until Ctrl+Q.
  keys.c_iflag &= ~static_cast<tcflag_t>(IXON);
  keys.c_cc[VMIN] = 1;
  keys.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &keys);
}

CursesTerminal::~CursesTerminal() {
  if (onPage_) ReleasePage();
  if (streamColored_) Write("\x1b[0m");
  if (termiosSaved_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &original_);
}

void CursesTerminal::Write(const std::string& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // the terminal is gone; nothing more can be shown
    done += static_cast<size_t>(written);
  }
}

// Colours are only sent when they change; the start colours are the terminal's own.
std::string CursesTerminal::StreamColors(Colors colors) {
  if (colors == streamColors_) return {};
  streamColors_ = colors;
  streamColored_ = colors != kStartColors;
  return streamColored_ ? ColorSequence(colors) : "\x1b[0m";
}

void CursesTerminal::StreamText(std::u32string_view glyphs, Colors colors) {
  if (released_) return Write(Utf8Of(glyphs));
  Write(StreamColors(colors) + Utf8Of(glyphs));
}

void CursesTerminal::StreamLineEnd() { Write("\r\n"); }

// ESC [ 2 J clears in the current background; ESC [ H homes the cursor.
void CursesTerminal::StreamClear(Colors colors) {
  if (released_) return Write("\x1b[2J\x1b[H");
  Write(StreamColors(colors) + "\x1b[2J\x1b[H");
}

void CursesTerminal::TakePage() {
  if (onPage_) return;
  if (streamColored_) Write("\x1b[0m");
  set_escdelay(kEscapeDelayMs);
  SCREEN* screen = newterm(nullptr, stdout, stdin);
  if (screen == nullptr) throw std::runtime_error("this terminal type is not known");
  screen_ = screen;
  onPage_ = true;
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  DefineCursorKeysOfNormalMode();
  intrflush(stdscr, FALSE);
  // Curses only reads keys: with its window never touched, reading never redraws it.
  wnoutrefresh(stdscr);
  codes_ = std::make_unique<TerminfoCodes>(utf8_);
  painter_ = std::make_unique<ScreenPainter>(*codes_);
  FollowWindowSize();
}

void CursesTerminal::ReleasePage() {
  if (!onPage_) return;
  Write(codes_->Reset());
  endwin();
  delscreen(static_cast<SCREEN*>(screen_));
  screen_ = nullptr;
  painter_.reset();
  codes_.reset();
  onPage_ = false;
  released_ = true;
}

void CursesTerminal::SetTitle(std::string_view singleByteTitle) {
  const char* term = std::getenv("TERM");
  const std::string type = term != nullptr ? term : "";
  if (type.rfind("xterm", 0) != 0 && type.rfind("screen", 0) != 0 && type.rfind("tmux", 0) != 0 &&
      type.rfind("rxvt", 0) != 0)
    return;
  std::string title;
  for (char byte : singleByteTitle) AppendUtf8(title, TextGlyph(static_cast<unsigned char>(byte)));
  // OSC 2 ; text BEL sets the window title.
  Write("\x1b]2;" + title + "\a");
}

bool CursesTerminal::LargeEnough() const { return columns_ >= wantColumns_ && rows_ >= wantRows_; }

void CursesTerminal::SetSize(int columns, int rows) {
  wantColumns_ = columns;
  wantRows_ = rows;
  // CSI 8 ; rows ; columns t asks an xterm-like terminal to resize its window.
  Write("\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t");
  FollowWindowSize();
  while (!LargeEnough()) {
    DrawNotice();
    if (WaitForInput(std::nullopt) == Wait::kInput) {
      wtimeout(stdscr, 0);
      wint_t ch = 0;
      while (wget_wch(stdscr, &ch) != ERR) {
      }
    }
  }
}

void CursesTerminal::Beep() {
  if (onPage_) {
    beep();
  } else {
    Write("\a");
  }
}

void CursesTerminal::DrawNotice() {
  ScreenModel notice(columns_, rows_);
  notice.Fill(kNoticeColors);
  notice.cursorVisible = false;
  const auto put = [&](int row, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
      notice.Put(row, static_cast<int>(i) + 1, Cell{TextGlyph(static_cast<unsigned char>(text[i])), kNoticeColors});
  };
  put(1, kNotice);
  put(2, "Now: " + std::to_string(columns_) + " x " + std::to_string(rows_));
  Write(painter_->Paint(notice, false));
}

// The notice and the page differ in size, so the painter starts afresh between them.
void CursesTerminal::Draw(bool force) {
  if (shown_ == nullptr) return;
  if (!LargeEnough()) return DrawNotice();
  Write(painter_->Paint(*shown_, force));
}

void CursesTerminal::Show(const ScreenModel& screen) {
  if (!onPage_) return;
  const bool another = shown_ != &screen;
  shown_ = &screen;
  Draw(another);
}

void CursesTerminal::FollowWindowSize() {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) return;
  columns_ = size.ws_col;
  rows_ = size.ws_row;
}

void CursesTerminal::ActOnSignal(int signal) {
  if (signal == SIGWINCH) {
    FollowWindowSize();
    if (onPage_) Draw(true);
    return;
  }
  throw EndRequested{signal, signal == SIGHUP};
}

CursesTerminal::Wait CursesTerminal::WaitForInput(std::optional<std::chrono::milliseconds> limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit.value_or(std::chrono::milliseconds{0});
  for (;;) {
    int timeout = -1;
    if (limit) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return Wait::kTimeOut;
      timeout = static_cast<int>(left.count());
    }
    struct pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_.ReadEnd(), POLLIN, 0}};
    const int ready = poll(watched, 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) throw EndRequested{0, true};
    if (ready == 0) return Wait::kTimeOut;
    if (watched[1].revents & POLLIN) {
      while (const int signal = signals_.Take()) ActOnSignal(signal);
      return Wait::kResized;
    }
    if (watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) throw EndRequested{0, true};
    if (watched[0].revents & POLLIN) return Wait::kInput;
  }
}

std::optional<std::string> CursesTerminal::ReadStreamKey() {
  unsigned char bytes[64];
  const ssize_t got = read(STDIN_FILENO, bytes, sizeof bytes);
  if (got <= 0) throw EndRequested{0, true};
  // Before the page is taken only "any key" is asked for: the first byte of what arrived.
  return KeyTextOfChar(bytes[0]).value_or(std::string(1, static_cast<char>(bytes[0])));
}

std::optional<std::string> CursesTerminal::TakeQueuedKey() {
  if (queuedKeys_.empty()) return std::nullopt;
  std::string key = std::move(queuedKeys_.front());
  queuedKeys_.pop_front();
  return key;
}

// Bytes come one at a time so that a broken character cannot swallow the key after it.
std::optional<std::string> CursesTerminal::ReadPageKey(bool inputReported) {
  if (std::optional<std::string> key = TakeQueuedKey()) return key;
  wtimeout(stdscr, 0);
  const int code = wgetch(stdscr);
  if (code == ERR) {
    for (std::string& key : typed_.Flush()) queuedKeys_.push_back(std::move(key));
    if (std::optional<std::string> key = TakeQueuedKey()) return key;
    // Reported readable yet nothing to read, again and again: the other end has gone.
    int pending = 0;
    if (!inputReported) return std::nullopt;
    if (++idleReadsWithoutInput_ > 2 && ioctl(STDIN_FILENO, FIONREAD, &pending) == 0 && pending == 0)
      throw EndRequested{0, true};
    return std::nullopt;
  }
  idleReadsWithoutInput_ = 0;
  if (code > 0xFF) return KeyTextOfCode(code);  // a window change comes through the signal pipe
  for (std::string& key : typed_.Feed(static_cast<unsigned char>(code))) queuedKeys_.push_back(std::move(key));
  return TakeQueuedKey();
}

std::optional<std::string> CursesTerminal::ReadKey(std::optional<std::chrono::milliseconds> limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit.value_or(std::chrono::milliseconds{0});
  bool inputReported = false;
  for (;;) {
    if (onPage_) {
      if (std::optional<std::string> key = ReadPageKey(inputReported)) return key;
    }
    std::optional<std::chrono::milliseconds> left;
    if (limit) left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const Wait wait = WaitForInput(left);
    if (wait == Wait::kTimeOut) return std::nullopt;
    inputReported = wait == Wait::kInput;
    if (!onPage_ && inputReported) {
      if (std::optional<std::string> key = ReadStreamKey()) return key;
    }
  }
}

LocalTime SystemClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::chrono::steady_clock::time_point SystemClock::Monotonic() { return std::chrono::steady_clock::now(); }

}  // namespace ferrolux
