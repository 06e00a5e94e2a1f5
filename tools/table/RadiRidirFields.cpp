// TRadiRidir field access: field definitions and constraints from the
// engine, new records with default values, field data in and out of record
// buffers, old values and blob streams.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/radiridir.h"
#include "runtime/conversions.h"
#include "runtime/datetime.h"
#include "runtime/utf8_text.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/data/numeric_fields.h"
#include "tools/table/MTBlobStream.h"
#include "tools/table/MTcomm.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirError.h"
#include "tools/table/RadiRidirText.h"

namespace vesk {

void TRadiRidir::InternalInitFieldDefs() {
  bool openedHere = false;
  if (!rr_is_open(handle_)) {
    if (rr_open(handle_, ToEngineText(tableName_).data(), RR_MODE_READ_ONLY) < 0) return;
    openedHere = true;
  }
  struct CloseAfter {
    int32_t handle;
    bool close;
    ~CloseAfter() {
      if (close) rr_close(handle);
    }
  } closeAfter{handle_, openedHere};
  EngineGuard([&] {
    FieldDefs().Clear();
    const int32_t count = rr_field_count(handle_);
    Check(count >= 0);
    for (int32_t i = 0; i < count; ++i) {
      int32_t offset = 0, size = 0;
      uint8_t letter = 0;
      uint8_t name[256] = {};
      Check(rr_field_info(handle_, i, &offset, &size, &letter));
      rr_field_name(name, handle_, i);
      CheckLastCall();
      FieldDefs().Add(FromEngineText(name), FieldTypeOfLetter(static_cast<char>(letter)),
                      letter == 'S' ? RR_TEXT_CHARS(size) : 0, false, i + 1);
    }
  });
}

void TRadiRidir::ApplyConstraints() {
  for (int p = 0; p < FieldCount(); ++p) {
    TField* field = Fields(p);
    if (field->DataType() == ftAutoInc) field->SetReadOnly(true);
    try {
      for (int32_t kind = RR_CONSTRAINT_REQUIRED; kind <= RR_CONSTRAINT_MAX; ++kind) {
        rr_bool present = 0;
        uint8_t text[256] = {};
        Check(rr_constraint(handle_, p, kind, &present, text, 255));
        if (!present) continue;
        const std::string value = FromEngineText(text);
        if (kind == RR_CONSTRAINT_REQUIRED) {
          field->SetRequired(!value.empty());
        } else if (kind == RR_CONSTRAINT_DEFAULT) {
          field->SetDefaultExpression(value);
        } else if (field->DataType() == ftInteger) {
          auto* integer = static_cast<TIntegerField*>(field);
          kind == RR_CONSTRAINT_MIN ? integer->SetMinValue(StrToInt(value)) : integer->SetMaxValue(StrToInt(value));
        } else if (field->DataType() == ftFloat || field->DataType() == ftCurrency) {
          auto* number = static_cast<TFloatField*>(field);
          kind == RR_CONSTRAINT_MIN ? number->SetMinValue(StrToFloat(value)) : number->SetMaxValue(StrToFloat(value));
        }
      }
    } catch (const std::exception&) {
      // A constraint that does not apply leaves the field's remaining ones out.
    }
  }
}

const TRadiRidir::EngineField& TRadiRidir::FieldAt(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= engineFields_.size())
    throw ERadiRidirError("Field index " + std::to_string(index) + " out of range");
  return engineFields_[static_cast<size_t>(index)];
}

void TRadiRidir::InternalInitRecord(char* buffer) {
  Check(rr_blank_record(handle_, reinterpret_cast<uint8_t*>(buffer)));
  StoreRecNo(buffer, -1);
  // Identity 0 names the record being inserted, so its blobs are held for it.
  std::memset(buffer + bookmarkOffset_, 0, 8);
  const int count = std::min(FieldCount(), static_cast<int>(engineFields_.size()));
  for (int p = 0; p < count; ++p) {
    const std::string& text = Fields(p)->DefaultExpression();
    if (!text.empty()) ApplyDefault(p, text, buffer);
  }
}

void TRadiRidir::ApplyDefault(int32_t index, std::string_view text, char* buffer) const {
  const EngineField& info = FieldAt(index);
  buffer[index] = 0;
  WriteDefaultValue(info.letter, text, reinterpret_cast<uint8_t*>(buffer + info.offset), info.size);
  buffer[index] = 1;
}

void TRadiRidir::ClearCalcFields(char* buffer) { std::memset(buffer + calcOffset_, 0, CalcFieldsSize()); }

bool TRadiRidir::GetFieldData(TField* field, void* data) {
  const char* buffer = ActiveRecordBuffer();
  if (buffer == nullptr) return false;
  if (field->FieldNo() > 0) {
    const int32_t index = field->FieldNo() - 1;
    const bool present = buffer[index] != 0;
    if (!present || data == nullptr) return present;
    const auto dataSize = static_cast<size_t>(field->DataSize());
    std::memset(data, 0, dataSize);
    const EngineField& info = FieldAt(index);
    const char* value = buffer + info.offset;
    if (field->DataType() == ftDateTime) {
      TDateTime stored = 0;
      std::memcpy(&stored, value, 8);
      const double msecs = TimeStampToMSecs(DateTimeToTimeStamp(stored));
      std::memcpy(data, &msecs, 8);
    } else if (info.letter == 'S') {
      // Never more than either side holds: a persistent text field may hold
      // fewer characters than its column, and it keeps its terminator.
      const std::string_view text =
          Utf8CutBytes(Utf8Prefix(std::string_view(value, strnlen(value, static_cast<size_t>(info.size))),
                                  static_cast<size_t>(field->Size())),
                       dataSize - 1);
      std::memcpy(data, text.data(), text.size());
    } else {
      std::memcpy(data, value, std::min(static_cast<size_t>(info.size), dataSize));
    }
    return true;
  }
  const char* area = buffer + calcOffset_ + field->Offset();
  const bool present = area[0] != 0;
  if (present && data != nullptr) std::memcpy(data, area + 1, static_cast<size_t>(field->DataSize()));
  return present;
}

void TRadiRidir::SetFieldData(TField* field, const void* data) {
  char* buffer = ActiveRecordBuffer();
  if (field->FieldNo() > 0) {
    if (State() == dsCalcFields) DatabaseError(kSNotEditing);
    field->Validate(data);
    if (buffer == nullptr) DatabaseError(kSNotEditing);
    const int32_t index = field->FieldNo() - 1;
    const EngineField& info = FieldAt(index);
    char* value = buffer + info.offset;
    const auto size = static_cast<size_t>(info.size);
    if (data == nullptr || (info.letter == 'S' && *static_cast<const char*>(data) == '\0')) {
      std::memset(value, 0, size);
      buffer[index] = 0;
    } else {
      if (field->DataType() == ftDateTime) {
        double msecs = 0;
        std::memcpy(&msecs, data, 8);
        const TDateTime stored = TimeStampToDateTime(MSecsToTimeStamp(std::round(msecs)));
        std::memcpy(value, &stored, 8);
      } else {
        // Never more than the field's own data: a persistent text field may
        // be shorter than the column; the column keeps its terminator.
        std::memset(value, 0, size);
        std::memcpy(value, data, std::min(size, static_cast<size_t>(field->DataSize())));
        if (info.letter == 'S' && size > 0) value[size - 1] = '\0';
      }
      buffer[index] = 1;
    }
  } else {
    if (buffer == nullptr) DatabaseError(kSNotEditing);
    char* area = buffer + calcOffset_ + field->Offset();
    area[0] = data != nullptr ? 1 : 0;
    if (data != nullptr) std::memcpy(area + 1, data, static_cast<size_t>(field->DataSize()));
  }
  if (State() != dsCalcFields) DataEvent(deFieldChange, field);
}

Variant TRadiRidir::GetStateFieldValue(TDataSetState state, TField* field) {
  if (state == dsOldValue) {
    oldValueBuffer_ = TempBuffer();
    auto* record = reinterpret_cast<uint8_t*>(oldValueBuffer_);
    // A record being inserted has no stored values yet.
    Check(State() == dsInsert ? rr_blank_record(handle_, record) : rr_get_record(handle_, record));
  }
  return TDataSet::GetStateFieldValue(state, field);
}

std::unique_ptr<TStream> TRadiRidir::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  auto* blob = dynamic_cast<TBlobField*>(field);
  if (blob == nullptr) DatabaseErrorFmt(kSFieldTypeMismatch, {field->DisplayName(), "Blob"});
  return std::make_unique<TBlobStream>(blob, mode);
}

}  // namespace vesk
