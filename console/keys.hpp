#pragma once
// A key as the program sees it: a typed character (its one byte) or a key without a character
// (its scan code). The terminal layer decodes keyboard bytes into keys once; above it only this
// type travels, and its key text serves where keys are compared with a set of allowed keys.

#include <string>

namespace ferrolux {

class Key {
 public:
  // A typed character; implicit, so that a character reads as its key.
  constexpr Key(char typed) : scanned_(false), code_(static_cast<unsigned char>(typed)) {}
  static constexpr Key Scanned(unsigned char scanCode) { return Key(true, scanCode); }

  constexpr bool IsTyped() const { return !scanned_; }
  // The typed character's byte; meaningful only for a typed key.
  constexpr char Typed() const { return static_cast<char>(code_); }
  // The key text: the one byte of a typed key, or NUL followed by the scan code.
  std::string Text() const {
    const std::string text(1, static_cast<char>(code_));
    return scanned_ ? std::string(1, '\0') + text : text;
  }

  constexpr bool operator==(const Key&) const = default;

 private:
  constexpr Key(bool scanned, unsigned char code) : scanned_(scanned), code_(code) {}

  bool scanned_;
  unsigned char code_;
};

namespace keys {

inline constexpr Key kEnter{'\r'};
inline constexpr Key kEscape{'\x1b'};
inline constexpr Key kBackspace{'\b'};
inline constexpr Key kTab{'\t'};

inline constexpr Key kHome = Key::Scanned(71);
inline constexpr Key kUp = Key::Scanned(72);
inline constexpr Key kPageUp = Key::Scanned(73);
inline constexpr Key kLeft = Key::Scanned(75);
inline constexpr Key kRight = Key::Scanned(77);
inline constexpr Key kEnd = Key::Scanned(79);
inline constexpr Key kDown = Key::Scanned(80);
inline constexpr Key kPageDown = Key::Scanned(81);
inline constexpr Key kInsert = Key::Scanned(82);
inline constexpr Key kDelete = Key::Scanned(83);
// F1 to F10 are scan codes 59 to 68.
constexpr Key Function(int n) { return Key::Scanned(static_cast<unsigned char>(58 + n)); }

}  // namespace keys

}  // namespace ferrolux
