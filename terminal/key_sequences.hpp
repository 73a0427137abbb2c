#pragma once
// Bytes from the keyboard become keys. The cursor, paging and function keys arrive as
// escape sequences whose form depends on the terminal, on tmux or screen in between and on
// the modifiers held (ESC [ A, ESC O A, ESC [ 1 ; 5 A, ESC [ 1 ~, ESC [ 7 ~, ...): every
// form of a key gives that key, and a sequence of a key the program has no use for gives
// nothing, so its bytes are never taken for typed text. Other bytes are typed characters.
// A terminal's report of one of its modes comes in among the keys; it is handed out apart.

#include <deque>
#include <optional>
#include <string>

#include "console/keys.hpp"
#include "terminal/typed_input.hpp"

namespace ferrolux {

// What a terminal answers about one of its private modes (DECRPM): 0 it does not know the
// mode, 1 set, 2 reset, 3 set for good, 4 reset for good.
struct ModeReport {
  int mode = 0;
  int setting = 0;
  bool operator==(const ModeReport&) const = default;
};

class KeyDecoder {
 public:
  explicit KeyDecoder(bool utf8) : typed_(utf8) {}

  // The keys this byte completes are appended to `keys`.
  void Feed(unsigned char byte, std::deque<Key>& keys);
  // Whether the bytes of a key are incomplete, so a little more time should be given.
  bool Pending() const { return !sequence_.empty() || typed_.Pending(); }
  // No more bytes came in time: a lone ESC is Escape, a broken character's bytes stand for
  // themselves, and what is left of a cut-off sequence is dropped.
  void Flush(std::deque<Key>& keys);
  // The oldest mode report not yet taken.
  std::optional<ModeReport> TakeModeReport();

 private:
  enum class State { kGround, kEscape, kControl, kShift3, kLinuxFunction, kMouse, kString, kStringEscape };

  void FeedGround(unsigned char byte, std::deque<Key>& keys);
  void FeedSequence(unsigned char byte, std::deque<Key>& keys);
  void FeedString(unsigned char byte, std::deque<Key>& keys);
  void Finish(std::deque<Key>& keys);
  void Abandon() {
    sequence_.clear();
    state_ = State::kGround;
  }

  TypedInputDecoder typed_;
  State state_ = State::kGround;
  std::string sequence_;  // from the ESC on
  std::deque<ModeReport> reports_;
  int mouseBytes_ = 0;
  size_t stringBytes_ = 0;
};

}  // namespace ferrolux
