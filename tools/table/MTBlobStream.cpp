#include "tools/table/MTBlobStream.h"

#include "engine/radiridir.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/notices.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {

TBlobStream::TBlobStream(TBlobField* field, TBlobStreamMode mode)
    : field_(field),
      dataset_(static_cast<TRadiRidir*>(field->DataSet())),
      mode_(mode),
      fieldIndex_(field->FieldNo() - 1) {
  record_ = dataset_->ActiveRecordBuffer();
  if (record_ != nullptr) {
    if (dataset_->State() == dsFilter) DatabaseError("Unable to access blob fields in filter mode");
    mark_ = rr_blob(dataset_->handle_, RR_BLOB_OPEN, fieldIndex_, dataset_->IdentityOf(record_), 0, 0,
                    reinterpret_cast<uint8_t*>(record_));
    if (mark_ == 0) DatabaseError("Unable to access blob data");
  }
  if (!field_->Modified() && mode_ != bmRead) {
    if (field_->ReadOnly()) DatabaseErrorFmt(kSFieldReadOnly, {field_->DisplayName()});
    if (!IsEditState(dataset_->State())) DatabaseError(kSNotEditing);
  }
  if (mode_ == bmWrite && mark_ != 0) {
    Blob(RR_BLOB_TRUNCATE, fieldIndex_, 0, 0, nullptr);
    written_ = true;
  }
}

TBlobStream::~TBlobStream() {
  if (mark_ == 0 || !written_) return;
  try {
    field_->SetModified(true);
    dataset_->DataEvent(deFieldChange, field_);
  } catch (const std::exception& error) {
    NotifyError(error);
  }
}

int32_t TBlobStream::Blob(int32_t operation, int32_t field, int32_t value, int32_t count, uint8_t* buffer) {
  const int32_t result = rr_blob(dataset_->handle_, operation, field, value, count, mark_, buffer);
  if (result < 0) throw EngineError(dataset_->handle_);
  return result;
}

int32_t TBlobStream::Read(void* buffer, int32_t count) {
  if (mark_ == 0) return 0;
  const int32_t moved = Blob(RR_BLOB_READ, fieldIndex_, position_, count, static_cast<uint8_t*>(buffer));
  position_ += moved;
  return moved;
}

int32_t TBlobStream::Write(const void* buffer, int32_t count) {
  if (mark_ == 0) return 0;
  const int32_t moved =
      Blob(RR_BLOB_WRITE, fieldIndex_, position_, count, static_cast<uint8_t*>(const_cast<void*>(buffer)));
  position_ += moved;
  written_ = true;
  return moved;
}

int32_t TBlobStream::Seek(int32_t offset, TSeekOrigin origin) {
  if (mark_ == 0) return 0;
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = offset + Blob(RR_BLOB_LENGTH, 0, 0, 0, nullptr); break;
  }
  return position_;
}

}  // namespace vesk
