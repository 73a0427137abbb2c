// The screen model under any sequence of console operations, positions and sizes included:
// every write stays inside the grid and the cursor always stands on it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "console/box.hpp"
#include "console/headless.hpp"

namespace {

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  int Next() { return at_ < size_ ? data_[at_++] : 0; }
  int Signed() { return static_cast<std::int8_t>(Next()); }
  std::string Text() {
    const int length = Next() % 64;
    std::string text;
    for (int i = 0; i < length && !Empty(); ++i) text += static_cast<char>(Next());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Operate(ferrolux::HeadlessConsole& h, Bytes& in) {
  ferrolux::Console& console = h.console;
  switch (in.Next() % 11) {
    case 0: console.Locate(in.Signed(), in.Signed()); break;
    case 1: console.PrintText(in.Text()); break;
    case 2: console.PrintLineEnd(); break;
    case 3: console.SetColor(in.Next() % 20, in.Next() % 20); break;
    case 4: console.ClearScreen(); break;
    case 5: console.PrintFrame(static_cast<unsigned char>(in.Next()), in.Signed()); break;
    case 6: console.PrintNumber(in.Signed() * 1e-3 * in.Signed(), in.Next() % 2 ? 7 : 15); break;
    case 7: console.SetScreenSize(in.Next() % 200, in.Next() % 60); break;
    case 8: console.UsePage(1); break;
    case 9:
      ferrolux::DrawBox(console, in.Signed(), in.Signed(), in.Signed(), in.Signed(), in.Next() % 3, in.Next() % 16,
                        in.Next() % 16);
      break;
    default: console.HideCursor(); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ferrolux::HeadlessConsole h;
  Bytes in(data, size);
  for (int step = 0; step < 256 && !in.Empty(); ++step) {
    Operate(h, in);
    const ferrolux::ScreenModel& screen = h.console.Screen();
    const ferrolux::Position at = screen.cursor;
    if (at.row < 1 || at.row > screen.Rows() || at.column < 1 || at.column > screen.Columns()) __builtin_trap();
  }
  return 0;
}
