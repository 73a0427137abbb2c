// Side margins are used only where the terminal itself confirms them, whatever terminfo claims.
#include <deque>
#include <string>

#include <gtest/gtest.h>

#include "terminal/curses_codes.hpp"
#include "terminal/key_sequences.hpp"

namespace ferrolux {
namespace {

// Whether the bytes, read among the keys, confirm side margins; the keys they leave.
std::pair<bool, std::deque<Key>> ReadAnswer(const std::string& bytes) {
  KeyDecoder decoder(true);
  std::deque<Key> keys;
  for (char byte : bytes) decoder.Feed(static_cast<unsigned char>(byte), keys);
  decoder.Flush(keys);
  bool confirmed = false;
  while (const std::optional<ModeReport> report = decoder.TakeModeReport())
    confirmed = confirmed || ConfirmsSideMargins(*report);
  return {confirmed, keys};
}

TEST(SideMarginsTest, MarginsClaimedInTerminfoButUnconfirmedCorruptedTheList) {
  struct Case {
    const char* terminal;
    std::string answer;
    bool confirmed;
    std::deque<Key> keys = {'x'};  // the answer is never typed
  };
  const Case cases[] = {
      {"no answer (tmux)", "", false},
      {"the mode is not known", "\x1b[?69;0$y", false},
      {"reset for good", "\x1b[?69;4$y", false},
      {"another mode's answer", "\x1b[?25;1$y", false},
      {"set (xterm with margins on)", "\x1b[?69;1$y", true},
      {"reset (xterm, libvterm)", "\x1b[?69;2$y", true},
      {"between keys", "a\x1b[?69;2$yb", true, {'a', 'b', 'x'}},
  };
  for (const Case& c : cases) {
    const auto [confirmed, keys] = ReadAnswer(c.answer + "x");
    EXPECT_EQ(confirmed, c.confirmed) << c.terminal;
    EXPECT_EQ(keys, c.keys) << c.terminal;
  }
}

}  // namespace
}  // namespace ferrolux
