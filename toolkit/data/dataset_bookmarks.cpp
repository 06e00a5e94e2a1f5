// Bookmarks and the find operations of TDataSet.
#include "toolkit/data/dataset.h"

namespace vesk {

TBookmark TDataSet::GetBookmark() {
  const bool available = (state_ == dsBrowse || IsEditState(state_)) && recordCount_ > 0 && bookmarkSize_ > 0 &&
                         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
  if (!available) return {};
  TBookmark bookmark(static_cast<size_t>(bookmarkSize_));
  GetBookmarkData(ActiveBuffer(), bookmark.data());
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(bookmark.data());
  Resync(rmExact | rmCenter);
  DoAfterScroll();
}

void TDataSet::FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }

bool TDataSet::BookmarkValid(const TBookmark& /*bookmark*/) { return false; }

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  if (a == b) return 0;
  return a < b ? -1 : 1;
}

bool TDataSet::FindFirst() { return found_ = FindRecord(true, true); }

bool TDataSet::FindNext() { return found_ = FindRecord(false, true); }

bool TDataSet::FindPrior() { return found_ = FindRecord(false, false); }

bool TDataSet::FindLast() { return found_ = FindRecord(true, false); }

}  // namespace vesk
