#pragma once
// The page of a backend kept in step with the screen model: what was last painted, whether
// it must be painted whole, and the size notice while the window is smaller than asked for.
// A backend paints what Pending gives only when no key is waiting, so a paste is painted once.

#include <cstdint>
#include <optional>

#include "console/keys.hpp"
#include "console/screen.hpp"

namespace ferrolux {

class PageKeeper {
 public:
  // What to paint; `fresh` when what the window shows is not known.
  struct Picture {
    const ScreenModel* model = nullptr;
    bool fresh = false;
  };

  void Take() { onPage_ = true; }
  void Release();
  void Show(const ScreenModel& screen);
  void Want(int columns, int rows);
  void Measured(int columns, int rows);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  // The window's contents were lost or moved: the next picture is painted whole.
  void RepaintAll();
  bool RepaintWanted() const { return repaint_; }
  // Nothing can be shown any more.
  void TerminalGone() { gone_ = true; }
  bool NoticeShown() const;
  // The picture to paint now, if anything changed; it counts as painted.
  std::optional<Picture> Pending();
  // Whether a key read goes to the program. At the notice only Escape or Q do: the first
  // throws LeaveRequested, later ones go to the reader (the ending's own wait for a key).
  bool Passes(Key key);

 private:
  struct PageState {
    std::uint64_t version = 0;
    Position cursor;
    bool cursorVisible = true;
    bool operator==(const PageState&) const = default;
  };

  bool LargeEnough() const { return columns_ >= wantColumns_ && rows_ >= wantRows_; }
  std::optional<Picture> PendingNotice();

  bool onPage_ = false;
  bool gone_ = false;
  const ScreenModel* shown_ = nullptr;
  bool repaint_ = false;
  PageState painted_;
  ScreenModel notice_{1, 1};
  bool noticeOnScreen_ = false;
  bool leaveAsked_ = false;
  int columns_ = 0, rows_ = 0;
  int wantColumns_ = 0, wantRows_ = 0;
};

}  // namespace ferrolux
