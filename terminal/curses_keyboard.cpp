#include "terminal/curses_keyboard.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "console/ports.hpp"

namespace ferrolux {

namespace {

// How long the rest of an escape sequence is waited for before ESC counts as Escape.
// ESCDELAY, in milliseconds, changes it as it does for other terminal programs.
constexpr std::chrono::milliseconds kEscapeDelay{50};
constexpr long kLongestEscapeDelayMs = 10'000;
constexpr size_t kReadSize = 4096;

std::chrono::milliseconds EscapeDelay() {
  const char* text = std::getenv("ESCDELAY");
  if (text == nullptr || *text == '\0') return kEscapeDelay;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 0 || value > kLongestEscapeDelayMs) return kEscapeDelay;
  return std::chrono::milliseconds(value);
}

}  // namespace

KeyboardInput::KeyboardInput(int fd, bool utf8) : fd_(fd), decoder_(utf8), escapeDelay_(EscapeDelay()) {}

bool KeyboardInput::ReadWaiting() {
  struct pollfd watched = {fd_, POLLIN, 0};
  int ready = 0;
  do {
    ready = poll(&watched, 1, 0);
  } while (ready < 0 && errno == EINTR);
  if (ready == 0) return false;
  if (ready < 0 || !(watched.revents & POLLIN)) throw EndRequested{0, true};
  unsigned char bytes[kReadSize];
  const ssize_t got = read(fd_, bytes, sizeof bytes);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  if (got <= 0) throw EndRequested{0, true};
  for (ssize_t i = 0; i < got; ++i) decoder_.Feed(bytes[i], keys_);
  lastByte_ = std::chrono::steady_clock::now();
  return true;
}

std::optional<Key> KeyboardInput::TakeKey() {
  if (keys_.empty()) return std::nullopt;
  const Key key = keys_.front();
  keys_.pop_front();
  return key;
}

std::optional<KeyboardInput::TimePoint> KeyboardInput::IncompleteUntil() const {
  if (!decoder_.Pending()) return std::nullopt;
  return lastByte_ + escapeDelay_;
}

void KeyboardInput::GiveUpIncomplete() { decoder_.Flush(keys_); }

}  // namespace ferrolux
