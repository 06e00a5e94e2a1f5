// Cursor moves over the current order, record numbers, counts and marks.
#include <cstring>

#include "engine/engine_error.h"
#include "engine/table.h"

namespace vesk::engine {

size_t Table::Seek(size_t from, int direction) {
  for (size_t p = from; p < ids_.Size(); p += direction) {
    if (AcceptedAt(p)) return p;
  }
  reader_.Reset();
  return IdSequence::kNotFound;
}

void Table::StandOn(size_t position) {
  position_ = position;
  gap_.reset();
  bof_ = eof_ = false;
  found_ = true;
}

void Table::StandNowhere() {
  position_ = IdSequence::kNotFound;
  gap_.reset();
  bof_ = eof_ = true;
  found_ = false;
}

size_t Table::Current() const {
  if (NoCurrent()) throw EngineError("No current record");
  return position_;
}

void Table::First() {
  RequireOutsideTest();
  FollowWriter();
  size_t p = Seek(0, +1);
  p == IdSequence::kNotFound ? StandNowhere() : StandOn(p);
}

void Table::Last() {
  RequireOutsideTest();
  FollowWriter();
  size_t p = ids_.Empty() ? IdSequence::kNotFound : Seek(ids_.Size() - 1, -1);
  p == IdSequence::kNotFound ? StandNowhere() : StandOn(p);
}

void Table::Next() {
  RequireOutsideTest();
  FollowWriter();
  size_t from = gap_ ? *gap_ : position_ + 1;
  gap_.reset();
  size_t p = NoCurrent() ? IdSequence::kNotFound : Seek(from, +1);
  if (p != IdSequence::kNotFound) return StandOn(p);
  eof_ = true;
  found_ = false;
}

void Table::Prior() {
  RequireOutsideTest();
  FollowWriter();
  size_t from = gap_ ? *gap_ : position_;
  gap_.reset();
  size_t p = NoCurrent() || from == 0 ? IdSequence::kNotFound : Seek(from - 1, -1);
  if (p != IdSequence::kNotFound) return StandOn(p);
  bof_ = true;
  found_ = false;
}

int32_t Table::RecNo() const { return NoCurrent() ? 0 : static_cast<int32_t>(position_) + 1; }

void Table::GotoRecNo(int32_t number) {
  RequireOutsideTest();
  FollowWriter();
  if (number < 1 || static_cast<size_t>(number) > ids_.Size())
    throw EngineError("Record number " + std::to_string(number) + " out of range");
  StandOn(static_cast<size_t>(number) - 1);
}

int32_t Table::RecordCount() {
  RequireOutsideTest();
  FollowWriter();
  if (!TestsActive()) return static_cast<int32_t>(ids_.Size());
  int32_t count = 0;
  for (size_t p = 0; p < ids_.Size(); ++p) count += AcceptedAt(p) ? 1 : 0;
  reader_.Reset();
  return count;
}

int32_t Table::CurrentId() const { return ids_.At(Current()); }

void Table::BlankRecord(uint8_t* buffer) const { std::memset(buffer, 0, catalogue_.RecordSize()); }

void Table::GetRecord(uint8_t* buffer) {
  if (NoCurrent()) return BlankRecord(buffer);
  reader_.ReadAt(ids_, position_, buffer);
  ShowHeldBlobs(ids_.At(position_), buffer);
}

bool Table::RecordStored(int32_t identity) {
  sqlite3_stmt* stmt = exists_.get();
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, identity);
  bool stored = Step(db_.get(), stmt);
  sqlite3_reset(stmt);
  return stored;
}

int32_t Table::CreateMark(int32_t identity) {
  if (identity <= 0) throw EngineError("Identity " + std::to_string(identity) + " names no record");
  if (next_mark_ == INT32_MAX) throw EngineError("No marks left");
  marks_[next_mark_] = identity;
  return next_mark_++;
}

void Table::FreeMark(int32_t mark) {
  if (marks_.erase(mark) == 0) throw EngineError("Mark " + std::to_string(mark) + " does not exist");
}

bool Table::MarkNamesRecord(int32_t mark) {
  auto found = marks_.find(mark);
  if (found == marks_.end()) throw EngineError("Mark " + std::to_string(mark) + " does not exist");
  return RecordStored(found->second);
}

bool Table::GotoMark(int32_t mark) {
  RequireOutsideTest();
  FollowWriter();
  if (!MarkNamesRecord(mark)) return false;
  size_t p = ids_.Find(marks_[mark], index_ == 0);
  if (p == IdSequence::kNotFound) return false;
  StandOn(p);
  return true;
}

}  // namespace vesk::engine
