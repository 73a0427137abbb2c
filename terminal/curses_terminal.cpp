#include "terminal/curses_terminal.hpp"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <curses.h>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "terminal/curses_codes.hpp"
#include "text/charset.hpp"

namespace ferrolux {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// CSI 22 ; 0 t and CSI 23 ; 0 t: xterm's title stack, which tmux keeps too.
const char kTitlePush[] = "\x1b[22;0t";
const char kTitlePop[] = "\x1b[23;0t";
const char kPlainStream[] = "\x1b[0m";

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

// Only the character set comes from the environment: numbers are read and written with a
// decimal point whatever the language, as the catalog writes them.
bool LocaleWritesUtf8() {
  std::setlocale(LC_CTYPE, "");
  return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

// The terminal families that take a window title (OSC 2) and keep a title stack.
bool TakesTitle() {
  const char* term = std::getenv("TERM");
  const std::string type = term != nullptr ? term : "";
  for (const char* family : {"xterm", "screen", "tmux", "rxvt"})
    if (type.rfind(family, 0) == 0) return true;
  return false;
}

// A description of the terminal of the program's own, so that no flag of the one it shares
// with the shell changes, and so that a write never blocks.
int OpenOwnOutput() {
  const char* name = ttyname(STDOUT_FILENO);
  const int fd = name != nullptr ? open(name, O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC) : -1;
  return fd >= 0 ? fd : STDOUT_FILENO;
}

// Sets an environment variable for the life of the object and puts the old value back.
class EnvironmentValue {
 public:
  EnvironmentValue(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvironmentValue() {
    if (old_) setenv(name_, old_->c_str(), 1);
    if (!old_) unsetenv(name_);
  }
  EnvironmentValue(const EnvironmentValue&) = delete;
  EnvironmentValue& operator=(const EnvironmentValue&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Curses fills three windows of the whole screen that it never draws (the painter keeps its
// own cells): about 430 KiB on a 120x43 window, a tenth of the program's memory. They are made
// one column wide; the rows stay the window's real ones, whatever a shell profile left in
// LINES, as curses sets the scroll region and puts the cursor on the bottom row by them.
SCREEN* NewScreenOneColumnWide() {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0) {
    use_env(FALSE);
    use_tioctl(TRUE);
    return newterm(nullptr, stdout, stdin);
  }
  const EnvironmentValue lines("LINES", std::to_string(size.ws_row));
  const EnvironmentValue columns("COLUMNS", "1");
  use_env(TRUE);
  use_tioctl(FALSE);
  return newterm(nullptr, stdout, stdin);
}

}  // namespace

CursesTerminal::CursesTerminal() : out_(OpenOwnOutput()), utf8_(LocaleWritesUtf8()), input_(STDIN_FILENO, utf8_) {
  if (const std::optional<std::string> problem = TerminalTypeProblem()) throw std::runtime_error(*problem);
  if (tcgetattr(STDIN_FILENO, &original_) != 0) throw std::runtime_error("cannot read the terminal modes");
  termiosSaved_ = true;
  faults_.emplace(original_);
  // Keys one at a time and unechoed, even before the page is taken; signals stay on.
  struct termios keys = original_;
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  // Ctrl+S must reach the program as a key, not freeze its output until Ctrl+Q.
  keys.c_iflag &= ~static_cast<tcflag_t>(IXON);
  keys.c_cc[VMIN] = 1;
  keys.c_cc[VTIME] = 0;
  SetModes(keys, TCSAFLUSH);
  RememberRunningModes();
}

CursesTerminal::~CursesTerminal() {
  if (onPage_) ReleasePage();
  if (titlePushed_) Write(kTitlePop);
  if (streamColored_) Write(kPlainStream);
  // A terminal that still reads nothing would hold a drain for ever; its input is dropped all the same.
  if (termiosSaved_ && giveUpWritingAt_) {
    SetModes(original_, TCSANOW);
    tcflush(STDIN_FILENO, TCIFLUSH);
  } else if (termiosSaved_) {
    SetModes(original_, TCSAFLUSH);
  }
  if (out_ != STDOUT_FILENO) close(out_);
}

void CursesTerminal::SetModes(const struct termios& modes, int when) const {
  while (tcsetattr(STDIN_FILENO, when, &modes) != 0 && errno == EINTR) {
  }
}

void CursesTerminal::RememberRunningModes() { tcgetattr(STDIN_FILENO, &running_); }

// Every byte is written, however long the terminal takes to read them, unless the terminal is
// gone or the run ends while it reads nothing.
void CursesTerminal::Write(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(out_, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN && WaitToWrite()) continue;
    return;
  }
}

// What puts the terminal back as the shell had it: at a stop, and at a fault.
std::string CursesTerminal::LeavingBytes() const {
  std::string bytes = onPage_ ? codes_->Reset() : (streamColored_ ? kPlainStream : "");
  if (titlePushed_) bytes += kTitlePop;
  if (onPage_) bytes += codes_->LeavePage(page_.Rows());
  return bytes;
}

void CursesTerminal::UpdateFaultBytes() {
  if (faults_) faults_->SetBytes(LeavingBytes());
}

// Colours are only sent when they change; the start colours are the terminal's own.
std::string CursesTerminal::StreamColors(Colors colors) {
  if (colors == streamColors_) return {};
  streamColors_ = colors;
  streamColored_ = colors != kStartColors;
  UpdateFaultBytes();
  return streamColored_ ? ColorSequence(colors) : kPlainStream;
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
  if (streamColored_) Write(kPlainStream);
  SCREEN* screen = NewScreenOneColumnWide();
  if (screen == nullptr) throw std::runtime_error("this terminal type is not known");
  screen_ = screen;
  onPage_ = true;
  page_.Take();
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  intrflush(stdscr, FALSE);
  codes_ = std::make_unique<TerminfoCodes>(utf8_);
  painter_ = std::make_unique<ScreenPainter>(*codes_);
  Write(codes_->SideMarginsQuery());
  RememberRunningModes();
  FollowWindowSize();
}

void CursesTerminal::ReleasePage() {
  if (!onPage_) return;
  PaintPending();
  Write(codes_->Reset());
  if (titlePushed_) Write(kTitlePop);
  titlePushed_ = false;
  EndCurses();
  screen_ = nullptr;
  painter_.reset();
  codes_.reset();
  page_.Release();
  onPage_ = false;
  released_ = true;
  RememberRunningModes();
  UpdateFaultBytes();
}

// Curses writes its last bytes through standard output itself, and retries for ever while the
// terminal takes none. Once the run is ending on a terminal that still reads nothing they go
// to /dev/null instead; standard output is put back at once.
void CursesTerminal::EndCurses() {
  const bool dropping = giveUpWritingAt_ && !WaitToWrite();
  const int kept = dropping ? dup(STDOUT_FILENO) : -1;
  if (kept >= 0) {
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    if (null >= 0) close(null);
  }
  endwin();
  delscreen(static_cast<SCREEN*>(screen_));
  if (kept >= 0) {
    dup2(kept, STDOUT_FILENO);
    close(kept);
  }
}

// Pushes the title the terminal had, unless entering the page has done so already.
std::string CursesTerminal::TitleBytes() {
  std::string bytes;
  if (!titlePushed_ && !(onPage_ && codes_->PageKeepsTitle())) {
    bytes = kTitlePush;
    titlePushed_ = true;
  }
  // OSC 2 ; text BEL sets the window title.
  return bytes + "\x1b]2;" + title_ + "\a";
}

void CursesTerminal::SetTitle(std::string_view singleByteTitle) {
  if (!TakesTitle()) return;
  title_.clear();
  for (char byte : singleByteTitle) AppendUtf8(title_, TextGlyph(static_cast<unsigned char>(byte)));
  Write(TitleBytes());
  UpdateFaultBytes();
}

void CursesTerminal::SetSize(int columns, int rows) {
  page_.Want(columns, rows);
  // CSI 8 ; rows ; columns t asks an xterm-like terminal to resize its window.
  Write("\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t");
  FollowWindowSize();
}

void CursesTerminal::Beep() {
  if (onPage_) {
    beep();
  } else {
    Write("\a");
  }
}

// Painted only when no key is waiting: the page as it then stands, or the size notice.
void CursesTerminal::PaintPending() {
  if (const std::optional<PageKeeper::Picture> picture = page_.Pending())
    Write(painter_->Paint(*picture->model, picture->fresh));
}

void CursesTerminal::Show(const ScreenModel& screen) { page_.Show(screen); }

void CursesTerminal::FollowWindowSize() {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) return;
  page_.Measured(size.ws_col, size.ws_row);
  UpdateFaultBytes();
}

// Ctrl+Z: the shell gets its screen, modes, cursor and title back while the program is
// stopped; on return the page is painted whole, at the window's size of then.
void CursesTerminal::Suspend() {
  Write(LeavingBytes());
  titlePushed_ = false;
  SetModes(original_, TCSADRAIN);
  const TimePoint stoppedAt = steady_clock::now();
  signals_.StopProcess();
  stoppedFor_ += steady_clock::now() - stoppedAt;
  continuedFromStop_ = true;
  SetModes(running_, TCSADRAIN);
  FollowWindowSize();
  if (onPage_) Write(codes_->EnterPage(page_.Rows()));
  if (!onPage_ && streamColored_) Write(ColorSequence(streamColors_));
  if (!title_.empty()) Write(TitleBytes());
  page_.RepaintAll();
  UpdateFaultBytes();
}

// Continued after a stop the program did not make itself (SIGSTOP): the shell may have
// changed the modes and the screen meanwhile.
void CursesTerminal::Continued() {
  if (continuedFromStop_) {
    continuedFromStop_ = false;
    return;
  }
  SetModes(running_, TCSADRAIN);
  FollowWindowSize();
  page_.RepaintAll();
}

}  // namespace ferrolux
