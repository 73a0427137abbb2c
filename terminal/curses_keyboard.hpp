#pragma once
// The keyboard side of a real terminal: every byte waiting is read in one go, decoded into
// keys and queued, so that a paste costs one read per buffer, not per key.

#include <chrono>
#include <deque>
#include <optional>

#include "console/keys.hpp"
#include "terminal/key_sequences.hpp"

namespace ferrolux {

class KeyboardInput {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  KeyboardInput(int fd, bool utf8);

  // Reads what is waiting, without blocking; false when nothing was. Throws EndRequested
  // when the terminal has gone.
  bool ReadWaiting();
  std::optional<Key> TakeKey();
  std::optional<ModeReport> TakeModeReport() { return decoder_.TakeModeReport(); }
  bool HasKeys() const { return !keys_.empty(); }
  // Until when the rest of an unfinished key is waited for; none when nothing is unfinished.
  std::optional<TimePoint> IncompleteUntil() const;
  // The wait is over: what came of the key counts as it stands (a lone ESC is Escape).
  void GiveUpIncomplete();

 private:
  int fd_;
  KeyDecoder decoder_;
  std::deque<Key> keys_;
  std::chrono::milliseconds escapeDelay_;
  TimePoint lastByte_{};
};

}  // namespace ferrolux
