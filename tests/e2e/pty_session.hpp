#pragma once
// The real program in a pseudo-terminal, its output fed to a terminal emulator (libvterm)
// so that tests can read the screen back: text, colours, bells, exit status and tty modes.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace ferrolux::e2e {

struct CellColors {
  int foreground = -1;  // console colour numbers 0 to 15, -1 for the terminal's default
  int background = -1;
};

class PtySession {
 public:
  PtySession(const std::string& binary, const std::filesystem::path& folder, int columns = 120, int rows = 43,
             const std::vector<std::string>& arguments = {});
  ~PtySession();
  PtySession(const PtySession&) = delete;
  PtySession& operator=(const PtySession&) = delete;

  void Send(const std::string& bytes);
  // Types the bytes without reading anything the program writes meanwhile.
  void SendUnread(const std::string& bytes);
  // Waits until the text shows anywhere on the screen; false after the timeout.
  bool WaitForText(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Waits until the text shows nowhere on the screen; false after the timeout.
  bool WaitForTextGone(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Reads what the program has written so far (without waiting).
  void Pump(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  // Reads output as it comes until `done` holds after a read; false after the timeout.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Reads until the program has written nothing for `quiet`; false after the timeout.
  bool WaitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout = std::chrono::seconds(5));

  std::string Row(int row) const;  // rows and columns count from 1
  std::string Screen() const;      // all rows, joined by newlines
  std::string Cell(int row, int column) const;
  CellColors Colors(int row, int column) const;
  bool Reverse(int row, int column) const;
  int Bells() const { return bells_; }
  // What the terminal's own state shows: the cursor, the alternate screen and the title.
  bool CursorVisible() const { return cursorVisible_; }
  bool OnAlternateScreen() const { return alternateScreen_; }
  const std::string& Title() const { return title_; }
  // The emulator answers the program's questions, as a terminal does. From this call on it is
  // one without side margins, as tmux is: their mode (CSI ? 69 h, CSI ? 69 l) means nothing
  // to it, and the question about it (CSI ? 69 $ p) gets no answer. Call before any read.
  void LackSideMargins() { lacksSideMargins_ = true; }
  // Bytes given to the emulator as if another program had written them after this one.
  void Emulate(const std::string& bytes);
  const std::string& Output() const { return output_; }

  void Resize(int columns, int rows);
  // Only the window the program sees changes size; the emulator keeps its own, so that an
  // absurd size costs the test nothing.
  void ResizeWindow(int columns, int rows);
  void Signal(int signal);
  // Waits for the program to end; returns its exit status (128 + n for a signal n), -1 on
  // timeout. A zero timeout only looks.
  int WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Whether the pseudo-terminal is back in line mode with echo, as a shell expects.
  bool TerminalModesRestored() const;
  // Every mode of the pseudo-terminal, for comparing with what it was before.
  std::string Modes() const;

  pid_t Pid() const { return child_; }
  // Hangs up the terminal under the program, as a dropped connection would.
  void CloseMaster();
  // The caller has reaped the program itself.
  void Forget() { status_ = 0; }

  int bells_ = 0;
  bool cursorVisible_ = true;
  bool alternateScreen_ = false;
  std::string title_;

 private:
  void Feed(const char* bytes, size_t size);
  void Answer();

  int master_ = -1;
  pid_t child_ = -1;
  int status_ = -1;
  VTerm* vterm_ = nullptr;
  VTermScreen* screen_ = nullptr;
  std::string output_;
  bool lacksSideMargins_ = false;
  std::string held_;     // the start of a sequence that may be one a terminal without side margins ignores
  std::string answers_;  // what the emulator answered, not yet sent to the program
};

}  // namespace ferrolux::e2e
