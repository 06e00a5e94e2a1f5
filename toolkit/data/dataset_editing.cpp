// Editing in TDataSet: Edit, Insert, Append, Post, Cancel, Delete and the
// checks around them.
#include "runtime/exceptions.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"

namespace vesk {

void TDataSet::CheckCanModify() const {
  if (!GetCanModify()) DatabaseError(kSDataSetReadOnly);
}

void TDataSet::CheckRequiredFields() const {
  for (const TField* field : fields_)
    if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData && field->IsNull())
      DatabaseErrorFmt(kSFieldRequired, {field->DisplayName()});
}

void TDataSet::RunOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError) {
  for (;;) {
    try {
      UpdateCursorPos();
      (this->*operation)();
      return;
    } catch (const Exception& error) {
      TDataAction action = daFail;
      if (onError) onError(*this, error, action);
      if (action != daRetry) throw;
    }
  }
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode);
  if (!IsEditState(state_)) return;
  UpdateRecord();
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::UpdateRecord() {
  if (!IsEditState(state_)) DatabaseError(kSNotEditing);
  DataEvent(deUpdateRecord);
}

void TDataSet::Edit() {
  if (IsEditState(state_)) return;
  if (recordCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  Run(BeforeEdit);
  RunOperation(&TDataSet::InternalEdit, OnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange);
  Run(AfterEdit);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  Run(BeforeInsert);
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    Run(OnNewRecord);
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync(0);
    DoAfterScroll();
    throw;
  }
  modified_ = false;
  DataEvent(deDataSetChange);
  Run(AfterInsert);
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  // The new record takes the active record's place, in front of it.
  TBookmark current(static_cast<size_t>(bookmarkSize_));
  if (recordCount_ > 0) GetBookmarkData(ActiveBuffer(), current.data());
  MoveBuffer(recordCount_, activeRecord_);
  CursorPosChanged();
  char* buffer = ActiveBuffer();
  InitRecord(buffer);
  if (recordCount_ == 0)
    SetBookmarkFlag(buffer, bfBOF);
  else
    SetBookmarkData(buffer, current.data());
  if (recordCount_ < bufferCount_) ++recordCount_;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  // The new record after the last one, the last records before it.
  ClearBuffers();
  char* buffer = buffers_[0];
  InitRecord(buffer);
  SetBookmarkFlag(buffer, bfEOF);
  recordCount_ = 1;
  bof_ = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Post() {
  UpdateRecord();
  DataEvent(deCheckBrowseMode);
  Run(BeforePost);
  CheckRequiredFields();
  RunOperation(&TDataSet::InternalPost, OnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Run(AfterPost);
}

void TDataSet::Cancel() {
  if (!IsEditState(state_)) return;
  DataEvent(deCheckBrowseMode);
  Run(BeforeCancel);
  const bool scrolls = state_ == dsInsert;
  if (scrolls) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Run(AfterCancel);
  if (scrolls) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  if (recordCount_ == 0) DatabaseError(kSDataSetEmpty);
  // A read-only dataset keeps its records as it keeps their values.
  CheckCanModify();
  DataEvent(deCheckBrowseMode);
  Run(BeforeDelete);
  DoBeforeScroll();
  RunOperation(&TDataSet::InternalDelete, OnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(0);
  Run(AfterDelete);
  DoAfterScroll();
}

}  // namespace vesk
