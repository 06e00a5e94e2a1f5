// TRadiRidir bookmarks: the record identity, then an engine mark for it.
#include <cstring>

#include "engine/radiridir.h"
#include "toolkit/data/database_error.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

namespace {

int32_t WordOf(const TBookmark& bookmark, int word) {
  int32_t value = 0;
  std::memcpy(&value, bookmark.data() + 4 * word, 4);
  return value;
}

}  // namespace

int32_t TRadiRidir::IdentityOf(const char* buffer) const {
  int32_t identity = 0;
  std::memcpy(&identity, buffer + bookmarkOffset_, 4);
  return identity;
}

int32_t TRadiRidir::RecordIdentity() const {
  const char* buffer = State() == dsBrowse ? ActiveRecordBuffer() : nullptr;
  return buffer != nullptr ? IdentityOf(buffer) : 0;
}

void TRadiRidir::GetBookmarkData(const char* buffer, char* data) { std::memcpy(data, buffer + bookmarkOffset_, 8); }

void TRadiRidir::SetBookmarkData(char* buffer, const char* data) { std::memcpy(buffer + bookmarkOffset_, data, 8); }

TBookmark TRadiRidir::GetBookmark() {
  TBookmark bookmark = TDataSet::GetBookmark();
  if (bookmark.size() != 8) return bookmark;
  const int32_t mark = rr_mark_create(handle_, WordOf(bookmark, 0));
  Check(mark != 0);
  std::memcpy(bookmark.data() + 4, &mark, 4);
  return bookmark;
}

void TRadiRidir::FreeBookmark(TBookmark& bookmark) {
  CheckActive();
  if (bookmark.size() == 8) rr_mark_free(handle_, WordOf(bookmark, 1));
  TDataSet::FreeBookmark(bookmark);
}

bool TRadiRidir::BookmarkValid(const TBookmark& bookmark) {
  CheckActive();
  if (bookmark.size() != 8) return false;
  return rr_mark_state(handle_, WordOf(bookmark, 1)) >= 0;
}

int TRadiRidir::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  if (&a == &b || (a.empty() && b.empty())) return 0;
  if (a.size() == 8 && b.size() == 8 && WordOf(a, 0) == WordOf(b, 0)) return 0;
  return 1;
}

void TRadiRidir::InternalGotoBookmark(const char* bookmark) {
  int32_t mark = 0;
  std::memcpy(&mark, bookmark + 4, 4);
  if (!rr_goto_mark(handle_, mark)) DatabaseError("The bookmarked record is unavailable or deleted");
}

}  // namespace vesk
