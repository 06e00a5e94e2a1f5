// TRadiRidir: creation, the table name and index, opening and closing,
// fetching records, navigation and editing.
#include "tools/table/RadiRidir.h"

#include <cstring>
#include <filesystem>

#include "engine/radiridir.h"
#include "runtime/conversions.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/notices.h"
#include "tools/table/RadiRidirError.h"
#include "tools/table/RadiRidirText.h"
#include "tools/table/table_definition.h"

namespace vesk {

namespace {

bool HasTableExtension(const std::string& name) {
  const std::string upper = UpperCase(name);
  auto endsWith = [&upper](std::string_view tail) {
    return upper.size() >= tail.size() && upper.compare(upper.size() - tail.size(), tail.size(), tail) == 0;
  };
  return endsWith(".MTI") || endsWith("._MT");
}

}  // namespace

TRadiRidir::TRadiRidir(TComponent* owner) : TDataSet(owner), handle_(rr_new(0)), exprFilter_(this), about_("V4.0") {}

TRadiRidir::~TRadiRidir() {
  Destroying();
  Close();
  rr_free(handle_);
  handle_ = 0;
}

void TRadiRidir::RaiseEngineError() const { throw EngineError(handle_); }

void TRadiRidir::Check(bool ok) const {
  if (!ok) RaiseEngineError();
}

void TRadiRidir::CheckLastCall() const {
  if (!EngineErrorText(handle_).empty()) RaiseEngineError();
}

// --- Properties

void TRadiRidir::SetReadOnly(bool readOnly) {
  CheckInactive();
  readOnly_ = readOnly;
}

void TRadiRidir::SetTableName(std::string name) {
  if (Active()) DatabaseError("RadiRidir must be closed to set new table name.");
  name = std::string(CutText(name, 255));
  if (!TableFileExists(name) || !HasTableExtension(name)) {
    NotifyWarning("Warning. " + name + " is an invalid table name - it does not exist or has an invalid format.");
  }
  tableName_ = std::move(name);
}

std::string TRadiRidir::IndexName() const {
  if (!cursorOpen_) return {};
  uint8_t text[256] = {};
  rr_index_name(text, handle_);
  return FromEngineText(text);
}

void TRadiRidir::SetIndexName(std::string name) {
  if (IsLoading()) {
    pendingIndexName_ = std::move(name);
    return;
  }
  CheckBrowseMode();
  const int32_t number = rr_index_number(handle_, ToEngineText(name).data());
  if (number < 0) DatabaseError("Index name " + name + " not found.");
  Check(rr_select_index(handle_, number));
  First();
}

void TRadiRidir::Loaded() {
  TDataSet::Loaded();
  if (pendingIndexName_.empty()) return;
  std::string name = std::move(pendingIndexName_);
  pendingIndexName_.clear();
  SetIndexName(std::move(name));
}

bool TRadiRidir::GetCanModify() const { return writable_ && !readOnly_; }

void TRadiRidir::InternalHandleException(const std::exception& error) { NotifyError(error); }

// --- Opening and closing

void TRadiRidir::InternalOpen() {
  const int32_t mode = readOnly_ ? RR_MODE_READ_ONLY : RR_MODE_READ_WRITE;
  writable_ = mode == RR_MODE_READ_WRITE;
  const int32_t result = rr_open(handle_, ToEngineText(tableName_).data(), mode);
  if (result == -1) throw ETableInUse("The table " + tableName_ + " cannot be opened for exclusive use");
  if (result < 0) DatabaseError("The table " + tableName_ + " cannot be opened - it may be corrupted. Suggest rebuild");
  cursorOpen_ = true;
  lastMove_ = 1;
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  SetBookmarkSize(8);
  recordSize_ = rr_record_size(handle_);
  Check(recordSize_ > 0);
  engineFields_.clear();
  const int32_t count = rr_field_count(handle_);
  Check(count >= 0);
  for (int32_t i = 0; i < count; ++i) {
    EngineField field;
    uint8_t letter = 0;
    Check(rr_field_info(handle_, i, &field.offset, &field.size, &letter));
    field.letter = static_cast<char>(letter);
    engineFields_.push_back(field);
  }
  calcOffset_ = recordSize_ + 1;
  recInfoOffset_ = calcOffset_ + CalcFieldsSize();
  bookmarkOffset_ = recInfoOffset_ + 8;
  bufferSize_ = bookmarkOffset_ + 8;
  ApplyConstraints();
  filterBuffer_.assign(bufferSize_, 0);
  rr_set_tests(handle_, &TRadiRidir::EventTest, this, &TRadiRidir::ExpressionTest, this);
  CheckLastCall();
  useEventTest_ = static_cast<bool>(OnFilterRecord());
  setupPending_ = true;
  FilterChanged();
}

void TRadiRidir::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  if (cursorOpen_) rr_close(handle_);
  cursorOpen_ = false;
  writable_ = false;
  filterBuffer_.clear();
  filterBuffer_.shrink_to_fit();
  // The prepared expression refers to fields that may be gone now.
  exprFilter_.SetActive(false);
  useExpressionTest_ = false;
  setupPending_ = false;
  filteredCount_ = -1;
}

// --- Record buffers

char* TRadiRidir::AllocRecordBuffer() { return new char[bufferSize_](); }

void TRadiRidir::FreeRecordBuffer(char*& buffer) {
  delete[] buffer;
  buffer = nullptr;
}

int32_t TRadiRidir::RecNoOf(const char* buffer) const {
  int32_t recNo = 0;
  std::memcpy(&recNo, buffer + recInfoOffset_, 4);
  return recNo;
}

void TRadiRidir::StoreRecNo(char* buffer, int32_t recNo) const { std::memcpy(buffer + recInfoOffset_, &recNo, 4); }

uint8_t& TRadiRidir::LockStateOf(char* buffer) const { return reinterpret_cast<uint8_t&>(buffer[recInfoOffset_ + 4]); }

TBookmarkFlag TRadiRidir::GetBookmarkFlag(const char* buffer) {
  return static_cast<TBookmarkFlag>(buffer[recInfoOffset_ + 5]);
}

void TRadiRidir::SetBookmarkFlag(char* buffer, TBookmarkFlag flag) {
  buffer[recInfoOffset_ + 5] = static_cast<char>(flag);
}

char* TRadiRidir::ActiveRecordBuffer() const {
  char* filter = filterBuffer_.empty() ? nullptr : const_cast<char*>(filterBuffer_.data());
  return StateBuffer(filter, oldValueBuffer_);
}

bool TRadiRidir::GetCurrentRecord(char* buffer) {
  if (IsEmpty()) return false;
  std::memcpy(buffer, ActiveBuffer(), bufferSize_);
  return true;
}

int TRadiRidir::GetRecordSize() const {
  const int32_t size = rr_record_size(handle_);
  Check(size > 0);
  return size;
}

int TRadiRidir::GetRecordCount() const {
  if (filteredCount_ >= 0) return filteredCount_;
  const int32_t count = rr_record_count(handle_);
  Check(count >= 0);
  if (Filtered() && useExpressionTest_ && !useEventTest_) filteredCount_ = count;
  return count;
}

int TRadiRidir::GetRecNo() const {
  if (Bof() && Eof()) return -1;
  char* buffer = ActiveRecordBuffer();
  return buffer == nullptr ? -1 : RecNoOf(buffer);
}

void TRadiRidir::SetRecNo(int recNo) { MoveBy(recNo - RecNo()); }

// --- Fetching and navigation

TGetResult TRadiRidir::GetRecord(char* buffer, TGetMode mode, bool /*doCheck*/) {
  return EngineGuard([&] {
    if (setupPending_) SetupFilter();
    TGetResult result = grOK;
    switch (mode) {
      case gmCurrent:
        if (rr_no_current(handle_)) result = grError;
        break;
      // Without a move of its own the fetch reads where the cursor stands,
      // which is nowhere in an empty table.
      case gmNext:
        if (lastMove_ != 1) Check(rr_next(handle_));
        if (rr_eof(handle_) || (lastMove_ == 1 && rr_no_current(handle_))) result = grEOF;
        break;
      case gmPrior:
        if (lastMove_ != 2) Check(rr_prior(handle_));
        if (rr_bof(handle_) || (lastMove_ == 2 && rr_no_current(handle_))) result = grBOF;
        break;
      default: result = grError;
    }
    Check(rr_get_record(handle_, reinterpret_cast<uint8_t*>(buffer)));
    lastMove_ = 0;
    if (result == grOK) {
      GetCalcFields(buffer);
      const int32_t recNo = rr_rec_no(handle_);
      Check(recNo >= 0);
      const int32_t identity = rr_record_id(handle_);
      Check(identity != 0);
      StoreRecNo(buffer, recNo);
      LockStateOf(buffer) = 0;
      SetBookmarkFlag(buffer, bfCurrent);
      std::memcpy(buffer + bookmarkOffset_, &identity, 4);
      std::memcpy(buffer + bookmarkOffset_ + 4, &identity, 4);
    }
    return result;
  });
}

void TRadiRidir::InternalFirst() {
  if (State() == dsInsert) return;
  Check(rr_first(handle_));
  lastMove_ = 1;
}

void TRadiRidir::InternalLast() {
  if (State() == dsInsert) return;
  Check(rr_last(handle_));
  lastMove_ = 2;
}

void TRadiRidir::InternalSetToRecord(char* buffer) {
  // A new record has no place in the table before it is stored.
  const int32_t recNo = RecNoOf(buffer);
  if (recNo < 0) return;
  Check(rr_goto_rec_no(handle_, recNo));
}

// --- Editing

void TRadiRidir::InternalEdit() {
  if (LockStateOf(ActiveBuffer()) != 0) DatabaseError("That record is already locked");
  Check(rr_lock(handle_));
  LockStateOf(ActiveBuffer()) = 1;
}

// The base gives a record inserted in front of another that record's
// bookmark; it has no identity of its own (0 for the engine's blobs).
void TRadiRidir::InternalInsert() { std::memset(ActiveBuffer() + bookmarkOffset_, 0, 8); }

void TRadiRidir::InternalCancel() {
  Check(rr_end_edit(handle_));
  LockStateOf(ActiveBuffer()) = 0;
}

void TRadiRidir::InternalPost() {
  Check(rr_put_buffer(handle_, reinterpret_cast<const uint8_t*>(ActiveBuffer())));
  filteredCount_ = -1;
  Check(State() == dsEdit ? rr_store_over(handle_) : rr_store_new(handle_));
  LockStateOf(ActiveBuffer()) = 0;
}

void TRadiRidir::InternalDelete() {
  filteredCount_ = -1;
  Check(rr_delete(handle_));
  LockStateOf(ActiveBuffer()) = 2;
}

// The base reads its buffers again; a count kept from before is dropped,
// so that a refresh shows what the table holds now.
void TRadiRidir::InternalRefresh() { filteredCount_ = -1; }

}  // namespace vesk
