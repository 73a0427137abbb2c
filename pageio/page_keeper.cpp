#include "pageio/page_keeper.hpp"

#include "console/ports.hpp"
#include "pageio/size_notice.hpp"

namespace ferrolux {

void PageKeeper::Release() {
  shown_ = nullptr;
  onPage_ = false;
}

void PageKeeper::Show(const ScreenModel& screen) {
  if (!onPage_) return;
  if (shown_ != &screen) repaint_ = true;
  shown_ = &screen;
}

void PageKeeper::Want(int columns, int rows) {
  wantColumns_ = columns;
  wantRows_ = rows;
}

void PageKeeper::Measured(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
}

void PageKeeper::RepaintAll() {
  repaint_ = true;
  noticeOnScreen_ = false;
}

bool PageKeeper::NoticeShown() const { return onPage_ && shown_ != nullptr && !LargeEnough(); }

// The notice takes only the cells its lines need, however large the window claims to be.
std::optional<PageKeeper::Picture> PageKeeper::PendingNotice() {
  if (noticeOnScreen_ && !repaint_) return std::nullopt;
  notice_ = SizeNotice(columns_, rows_);
  noticeOnScreen_ = true;
  repaint_ = false;
  return Picture{&notice_, true};
}

// Only the page as it stands is painted, and only when it changed.
std::optional<PageKeeper::Picture> PageKeeper::Pending() {
  if (!onPage_ || shown_ == nullptr || gone_) return std::nullopt;
  if (!LargeEnough()) return PendingNotice();
  if (noticeOnScreen_) RepaintAll();
  const PageState now{shown_->Version(), shown_->cursor, shown_->cursorVisible};
  if (!repaint_ && now == painted_) return std::nullopt;
  const Picture picture{shown_, repaint_};
  repaint_ = false;
  painted_ = now;
  return picture;
}

bool PageKeeper::Passes(Key key) {
  if (!NoticeShown()) return true;
  if (!LeavesNotice(key)) return false;
  if (!leaveAsked_) {
    leaveAsked_ = true;
    throw LeaveRequested();
  }
  return true;
}

}  // namespace ferrolux
