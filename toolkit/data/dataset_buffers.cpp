// The record buffer ring of TDataSet: buffers_[0 .. recordCount_ - 1] hold
// consecutive records, buffers_[activeRecord_] is the active one, and the
// buffer after the last record (at most buffers_[bufferCount_]) receives the
// next fetch before it is rotated into place.
#include <algorithm>

#include "toolkit/data/data_link.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/db_messages.h"

namespace vesk {

char* TDataSet::ActiveBuffer() const { return buffers_.empty() ? nullptr : buffers_[activeRecord_]; }

char* TDataSet::TempBuffer() const { return buffers_.empty() ? nullptr : buffers_[recordCount_]; }

char* TDataSet::StateBuffer(char* filterBuffer, char* oldValueBuffer) const {
  switch (State()) {
    case dsBrowse: return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
    case dsNewValue: return ActiveBuffer();
    case dsCalcFields: return CalcBuffer();
    case dsFilter: return filterBuffer;
    case dsOldValue: return oldValueBuffer;
    default: return nullptr;
  }
}

std::vector<TDataLink*> TDataSet::ActiveLinks() const {
  std::vector<TDataLink*> links;
  for (const TDataSource* source : dataSources_)
    for (TDataLink* link : source->Links())
      if (link->Active()) links.push_back(link);
  return links;
}

void TDataSet::AddDataSource(TDataSource* source) {
  dataSources_.push_back(source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  std::erase(dataSources_, source);
  UpdateBufferCount();
}

void TDataSet::UpdateBufferCount() {
  if (!openComplete_ || !IsCursorOpen()) return;
  int count = 1;
  for (const TDataSource* source : dataSources_)
    for (const TDataLink* link : source->Links()) count = std::max(count, link->BufferCount());
  SetBufferCount(count);
}

void TDataSet::SetBufferCount(int count) {
  if (count == bufferCount_) return;
  if (count < bufferCount_ && recordCount_ > 0) {
    // Keep the buffers of the links' windows that still fit, the active one included.
    int delta = activeRecord_;
    for (const TDataLink* link : ActiveLinks()) delta = std::min(delta, link->FirstRecord());
    delta = std::max(delta, activeRecord_ - count + 1);
    for (int i = 0; i < count; ++i) MoveBuffer(i + delta, i);
    activeRecord_ -= delta;
    currentRecord_ -= delta;
    if (currentRecord_ < 0 || currentRecord_ >= count) currentRecord_ = -1;
    recordCount_ = std::min(std::max(recordCount_ - delta, 1), count);
    for (TDataLink* link : ActiveLinks()) link->MoveFirstRecord(-delta);
  }
  SetBufListSize(count + 1);
  bufferCount_ = count;
  GetNextRecords();
  const int added = GetPriorRecords();
  for (TDataLink* link : ActiveLinks()) link->MoveFirstRecord(added);
}

void TDataSet::SetBufListSize(int size) {
  while (static_cast<int>(buffers_.size()) > size) {
    FreeRecordBuffer(buffers_.back());
    buffers_.pop_back();
  }
  while (static_cast<int>(buffers_.size()) < size) buffers_.push_back(AllocRecordBuffer());
}

void TDataSet::MoveBuffer(int from, int to) {
  const auto begin = buffers_.begin();
  if (from < to)
    std::rotate(begin + from, begin + from + 1, begin + to + 1);
  else if (from > to)
    std::rotate(begin + to, begin + from, begin + from + 1);
}

void TDataSet::SetCurrentRecord(int index) {
  if (currentRecord_ == index) return;
  char* buffer = buffers_[index];
  switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted: InternalSetToRecord(buffer); break;
    case bfBOF: InternalFirst(); break;
    case bfEOF: InternalLast(); break;
  }
  currentRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (recordCount_ > 0) SetCurrentRecord(activeRecord_);
}

void TDataSet::ActivateBuffers() {
  recordCount_ = 1;
  activeRecord_ = 0;
  currentRecord_ = 0;
  bof_ = false;
  eof_ = false;
}

void TDataSet::ClearBuffers() {
  recordCount_ = 0;
  activeRecord_ = 0;
  currentRecord_ = -1;
  bof_ = true;
  eof_ = true;
}

bool TDataSet::FetchIntoSpare(TGetMode mode) {
  bool fetched = false;
  try {
    fetched = GetRecord(buffers_[recordCount_], mode, true) == grOK;
  } catch (...) {
    CursorPosChanged();
    throw;
  }
  // Where the storage cursor stands after a failed fetch is unknown.
  if (!fetched) CursorPosChanged();
  return fetched;
}

bool TDataSet::GetNextRecord() {
  TGetMode mode = gmNext;
  if (recordCount_ > 0) {
    SetCurrentRecord(recordCount_ - 1);
    // A new record in front of the cursor's record: that record comes next.
    if (state_ == dsInsert && currentRecord_ == activeRecord_ && GetBookmarkFlag(ActiveBuffer()) == bfCurrent)
      mode = gmCurrent;
  }
  if (!FetchIntoSpare(mode)) return false;
  if (recordCount_ == 0)
    ActivateBuffers();
  else if (recordCount_ < bufferCount_)
    ++recordCount_;
  else
    MoveBuffer(0, recordCount_);
  currentRecord_ = recordCount_ - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (recordCount_ > 0) SetCurrentRecord(0);
  if (!FetchIntoSpare(gmPrior)) return false;
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(recordCount_, 0);
    if (recordCount_ < bufferCount_) {
      ++recordCount_;
      ++activeRecord_;
    }
  }
  currentRecord_ = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int count = 0;
  while (recordCount_ < bufferCount_ && GetNextRecord()) ++count;
  return count;
}

int TDataSet::GetPriorRecords() {
  int count = 0;
  while (recordCount_ < bufferCount_ && GetPriorRecord()) ++count;
  return count;
}

// --- Navigation

void TDataSet::First() { MoveToEnd(true); }

void TDataSet::Last() { MoveToEnd(false); }

void TDataSet::MoveToEnd(bool first) {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  try {
    if (first) {
      InternalFirst();
      GetNextRecord();
      GetNextRecords();
    } else {
      InternalLast();
      GetPriorRecord();
      GetPriorRecords();
    }
  } catch (...) {
    DataEvent(deDataSetChange);
    throw;
  }
  (first ? bof_ : eof_) = true;
  DataEvent(deDataSetChange);
  DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if ((distance <= 0 || eof_) && (distance >= 0 || bof_)) return 0;
  DoBeforeScroll();
  bof_ = false;
  eof_ = false;
  int moved = 0;
  int shift = 0;  // how far the records moved within the buffers, for the links
  try {
    for (; distance > 0; --distance, ++moved) {
      if (activeRecord_ < recordCount_ - 1) {
        ++activeRecord_;
        continue;
      }
      const bool full = recordCount_ == bufferCount_;
      if (!GetNextRecord()) {
        eof_ = true;
        break;
      }
      if (full) --shift;
      activeRecord_ = recordCount_ - 1;
    }
    for (; distance < 0; ++distance, --moved) {
      if (activeRecord_ > 0) {
        --activeRecord_;
        continue;
      }
      if (!GetPriorRecord()) {
        bof_ = true;
        break;
      }
      ++shift;  // the new record went in front of the others
      activeRecord_ = 0;
    }
  } catch (...) {
    DataEvent(deDataSetScroll, nullptr, shift);
    throw;
  }
  DataEvent(deDataSetScroll, nullptr, shift);
  DoAfterScroll();
  return moved;
}

void TDataSet::Resync(TResyncMode mode) {
  char* spare = buffers_[recordCount_];
  if (mode & rmExact) {
    CursorPosChanged();
    if (GetRecord(spare, gmCurrent, true) != grOK) DatabaseError(kSRecordNotFound);
  } else if (GetRecord(spare, gmCurrent, false) != grOK && GetRecord(spare, gmNext, false) != grOK &&
             GetRecord(spare, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange);
    return;
  }
  int before = (mode & rmCenter) ? (bufferCount_ - 1) / 2 : activeRecord_;
  MoveBuffer(recordCount_, 0);
  ActivateBuffers();
  try {
    while (before > 0 && GetPriorRecord()) --before;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(deDataSetChange);
    throw;
  }
  DataEvent(deDataSetChange);
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  UpdateCursorPos();
  InternalRefresh();
  Resync(0);
}

}  // namespace vesk
