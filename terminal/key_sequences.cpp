#include "terminal/key_sequences.hpp"

#include <optional>
#include <string_view>

#include "console/keys.hpp"

namespace ferrolux {

namespace {

constexpr unsigned char kEsc = 0x1b;
constexpr unsigned char kBel = 0x07;
// CAN and SUB cancel a string as they cancel any sequence.
constexpr unsigned char kCancel = 0x18;
constexpr unsigned char kSubstitute = 0x1a;
// What follows ESC to open a string: OSC, DCS, APC, PM and SOS.
constexpr std::string_view kStringOpeners = "]P_^X";
// A string reply longer than this is no reply: from there on the bytes count as typed again.
constexpr size_t kLongestString = 4096;
// Past this the parameters of a sequence are only counted, never kept: a runaway sequence
// cannot grow without end, nor spill its bytes as typed text.
constexpr size_t kLongestKept = 24;
// The three bytes of button and position that follow ESC [ M when a terminal reports the mouse.
constexpr int kMouseReportBytes = 3;
// What opens the parameters of a terminal's own reports, never those of a key.
constexpr std::string_view kPrivateMarkers = "<=>?";
// The numeric keypad in application mode: ESC O j to ESC O y.
constexpr std::string_view kKeypad = "*+,-./0123456789";

bool IsParameter(unsigned char byte) { return byte >= 0x30 && byte <= 0x3F; }
bool IsIntermediate(unsigned char byte) { return byte >= 0x20 && byte <= 0x2F; }
bool IsFinal(unsigned char byte) { return byte >= 0x40 && byte <= 0x7E; }

// The first number of the parameters: 1 in "1;5", 15 in "15~"; 0 when there is none.
int FirstNumber(std::string_view parameters) {
  int number = 0;
  for (char c : parameters) {
    if (c < '0' || c > '9' || number > 999) break;
    number = number * 10 + (c - '0');
  }
  return number;
}

// ESC [ n ~ in the VT220 numbering; rxvt ends the same numbers with ^, $ or @ when a
// modifier is held. F11 and up, and the markers of a bracketed paste, are of no use here.
std::optional<Key> KeyOfNumber(int number) {
  switch (number) {
    case 1:
    case 7: return keys::kHome;
    case 2: return keys::kInsert;
    case 3: return keys::kDelete;
    case 4:
    case 8: return keys::kEnd;
    case 5: return keys::kPageUp;
    case 6: return keys::kPageDown;
    default: break;
  }
  if (number >= 11 && number <= 15) return keys::Function(number - 10);
  if (number >= 17 && number <= 21) return keys::Function(number - 11);
  return std::nullopt;
}

std::optional<Key> KeyOfLetter(char final) {
  switch (final) {
    case 'A':
    case 'a': return keys::kUp;  // lower case: rxvt's arrows with Shift or Ctrl
    case 'B':
    case 'b': return keys::kDown;
    case 'C':
    case 'c': return keys::kRight;
    case 'D':
    case 'd': return keys::kLeft;
    case 'H': return keys::kHome;
    case 'F': return keys::kEnd;
    case 'P':
    case 'Q':
    case 'R':
    case 'S': return keys::Function(final - 'P' + 1);
    default: return std::nullopt;
  }
}

// CSI ? mode ; setting $ y (DECRPM): the answer to CSI ? mode $ p.
std::optional<ModeReport> ModeReportOf(std::string_view sequence) {
  constexpr std::string_view kOpening = "\x1b[?", kEnding = "$y";
  if (!sequence.starts_with(kOpening) || !sequence.ends_with(kEnding)) return std::nullopt;
  const std::string_view parameters =
      sequence.substr(kOpening.size(), sequence.size() - kOpening.size() - kEnding.size());
  const size_t separator = parameters.find(';');
  if (separator == std::string_view::npos || parameters.find_first_not_of("0123456789;") != std::string_view::npos)
    return std::nullopt;
  return ModeReport{FirstNumber(parameters), FirstNumber(parameters.substr(separator + 1))};
}

// A complete sequence: ESC, '[' or 'O', the parameters, the final byte.
std::optional<Key> KeyOfSequence(std::string_view sequence) {
  // A private marker opens a terminal's reply (CSI ? 1 ; 2 c), never a key.
  if (sequence.size() > 3 && sequence[1] == '[' && kPrivateMarkers.find(sequence[2]) != std::string_view::npos)
    return std::nullopt;
  const char final = sequence.back();
  const std::string_view parameters = sequence.substr(2, sequence.size() - 3);
  if (final == '~' || final == '^' || final == '$' || final == '@') return KeyOfNumber(FirstNumber(parameters));
  if (sequence[1] == 'O') {
    if (final == 'M') return keys::kEnter;
    if (final >= 'j' && final <= 'y') return Key(kKeypad[static_cast<size_t>(final - 'j')]);
  }
  return KeyOfLetter(final);
}

}  // namespace

void KeyDecoder::Feed(unsigned char byte, std::deque<Key>& keys) {
  if (state_ == State::kGround) return FeedGround(byte, keys);
  FeedSequence(byte, keys);
}

void KeyDecoder::FeedGround(unsigned char byte, std::deque<Key>& keys) {
  if (byte != kEsc) {
    for (const Key& key : typed_.Feed(byte)) keys.push_back(key);
    return;
  }
  for (const Key& key : typed_.Flush()) keys.push_back(key);
  sequence_.assign(1, static_cast<char>(kEsc));
  state_ = State::kEscape;
}

void KeyDecoder::FeedSequence(unsigned char byte, std::deque<Key>& keys) {
  switch (state_) {
    case State::kEscape:
      if (byte == '[' || byte == 'O') {
        sequence_ += static_cast<char>(byte);
        state_ = byte == '[' ? State::kControl : State::kShift3;
        return;
      }
      if (kStringOpeners.find(static_cast<char>(byte)) != std::string_view::npos) {
        sequence_ += static_cast<char>(byte);
        state_ = State::kString;
        stringBytes_ = 0;
        return;
      }
      // Escape on its own, then whatever follows it (Alt and a key send ESC and the key).
      keys.push_back(keys::kEscape);
      Abandon();
      return Feed(byte, keys);
    case State::kMouse:
      if (--mouseBytes_ == 0) Abandon();
      return;
    case State::kLinuxFunction:
      if (byte >= 'A' && byte <= 'E') keys.push_back(keys::Function(byte - 'A' + 1));
      return Abandon();
    case State::kString:
    case State::kStringEscape: return FeedString(byte, keys);
    default: break;
  }
  if (state_ == State::kControl && sequence_.size() == 2 && byte == '[') {
    state_ = State::kLinuxFunction;  // the Linux console's F1 to F5: ESC [ [ A to ESC [ [ E
    return;
  }
  // rxvt ends a Shift-modified key with '$' after its number, where other terminals put a
  // final byte; after other parameters '$' leads the final byte of a report.
  const bool rxvtShift = byte == '$' && state_ == State::kControl && sequence_.size() > 2 &&
                         sequence_.find_first_not_of("0123456789", 2) == std::string::npos;
  if (IsFinal(byte) || rxvtShift) {
    sequence_ += static_cast<char>(byte);
    return Finish(keys);
  }
  if (IsParameter(byte) || IsIntermediate(byte)) {
    if (sequence_.size() < kLongestKept) sequence_ += static_cast<char>(byte);
    return;
  }
  // A control byte cannot be part of a sequence: what came before is dropped, the byte counts.
  Abandon();
  Feed(byte, keys);
}

// Up to ST (ESC \\) or BEL; an ESC that begins anything else ends the string and begins that.
void KeyDecoder::FeedString(unsigned char byte, std::deque<Key>& keys) {
  if (state_ == State::kStringEscape) {
    Abandon();
    if (byte == '\\') return;
    FeedGround(kEsc, keys);
    return Feed(byte, keys);
  }
  if (byte == kBel || byte == kCancel || byte == kSubstitute) return Abandon();
  if (byte == kEsc) {
    state_ = State::kStringEscape;
    return;
  }
  if (++stringBytes_ > kLongestString) {
    Abandon();
    Feed(byte, keys);
  }
}

void KeyDecoder::Finish(std::deque<Key>& keys) {
  if (sequence_ == "\x1b[M") {
    state_ = State::kMouse;
    mouseBytes_ = kMouseReportBytes;
    return;
  }
  if (const std::optional<ModeReport> report = ModeReportOf(sequence_)) {
    reports_.push_back(*report);
  } else if (const std::optional<Key> key = KeyOfSequence(sequence_)) {
    keys.push_back(*key);
  }
  Abandon();
}

std::optional<ModeReport> KeyDecoder::TakeModeReport() {
  if (reports_.empty()) return std::nullopt;
  const ModeReport report = reports_.front();
  reports_.pop_front();
  return report;
}

void KeyDecoder::Flush(std::deque<Key>& keys) {
  if (state_ == State::kEscape) keys.push_back(keys::kEscape);
  // ESC [, ESC O or a string's opener and nothing more: Alt with that key.
  const bool opened =
      state_ == State::kControl || state_ == State::kShift3 || (state_ == State::kString && stringBytes_ == 0);
  const bool altKey = opened && sequence_.size() == 2;
  if (altKey) {
    keys.push_back(keys::kEscape);
    keys.push_back(Key(sequence_[1]));
  }
  Abandon();
  for (const Key& key : typed_.Flush()) keys.push_back(key);
}

}  // namespace ferrolux
