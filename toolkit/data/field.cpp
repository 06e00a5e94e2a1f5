#include "toolkit/data/field.h"

#include <cstring>

#include "toolkit/data/database_error.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/db_messages.h"

namespace vesk {

TField::TField(TComponent* owner, TFieldType dataType) : TComponent(owner), dataType_(dataType) {
  if (auto* dataset = dynamic_cast<TDataSet*>(owner)) SetDataSet(dataset);
}

TField::~TField() {
  if (dataset_ != nullptr) dataset_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataset) {
  if (dataset == dataset_) return;
  if (dataset_ != nullptr) dataset_->CheckInactive();
  if (dataset != nullptr) dataset->AddField(this);  // checks it is closed and the name is free
  if (dataset_ != nullptr) dataset_->RemoveField(this);
  dataset_ = dataset;
}

void TField::SetFieldName(std::string name) {
  if (dataset_ != nullptr) {
    dataset_->CheckInactive();
    const TField* other = dataset_->FindField(name);
    if (other != nullptr && other != this) DatabaseErrorFmt(kSDuplicateFieldName, {name});
  }
  fieldName_ = std::move(name);
}

std::string TField::DisplayName() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }

void TField::SetFieldKind(TFieldKind kind) {
  if (dataset_ != nullptr) dataset_->CheckInactive();
  fieldKind_ = kind;
}

void TField::SetSize(int size) {
  if (dataset_ != nullptr) dataset_->CheckInactive();
  size_ = size;
}

Variant TField::Value() const { return IsNull() ? Variant::Null() : GetAsVariant(); }

void TField::SetValue(const Variant& value) {
  if (value.IsNull() || value.IsEmpty())
    Clear();
  else
    SetAsVariant(value);
}

bool TField::IsNull() const { return !GetData(nullptr); }

void TField::Clear() { SetData(nullptr); }

std::string TField::AsString() const { ReadError("String"); }
void TField::SetAsString(std::string_view) { WriteError("String"); }
int32_t TField::AsInteger() const { ReadError("Integer"); }
void TField::SetAsInteger(int32_t) { WriteError("Integer"); }
double TField::AsFloat() const { ReadError("Float"); }
void TField::SetAsFloat(double) { WriteError("Float"); }
TDateTime TField::AsDateTime() const { ReadError("DateTime"); }
void TField::SetAsDateTime(TDateTime) { WriteError("DateTime"); }
bool TField::AsBoolean() const { ReadError("Boolean"); }
void TField::SetAsBoolean(bool) { WriteError("Boolean"); }

std::string TField::GetText(bool /*displayText*/) const { return AsString(); }

Variant TField::OldValue() const {
  return dataset_ != nullptr ? dataset_->GetStateFieldValue(dsOldValue, const_cast<TField*>(this)) : Variant::Null();
}

Variant TField::NewValue() const {
  return dataset_ != nullptr ? dataset_->GetStateFieldValue(dsNewValue, const_cast<TField*>(this)) : Variant::Null();
}

bool TField::GetData(void* buffer) const {
  if (dataset_ == nullptr) DatabaseErrorFmt(kSNoDataSet, {DisplayName()});
  if (validating_) {
    if (validateBuffer_ == nullptr) return false;
    if (buffer != nullptr) std::memcpy(buffer, validateBuffer_, static_cast<size_t>(DataSize()));
    return true;
  }
  return dataset_->GetFieldData(const_cast<TField*>(this), buffer);
}

void TField::SetData(const void* buffer) {
  if (dataset_ == nullptr) DatabaseErrorFmt(kSNoDataSet, {DisplayName()});
  dataset_->SetFieldData(this, buffer);
}

void TField::Validate(const void* buffer) {
  const TDataSetState state = dataset_->State();
  const bool editing = IsEditState(state) || state == dsNewValue;
  if (!editing && state != dsCalcFields && state != dsFilter) DatabaseError(kSNotEditing);
  if (readOnly_ && editing) DatabaseErrorFmt(kSFieldReadOnly, {DisplayName()});
  if (!OnValidate) return;
  struct Reset {
    TField& field;
    ~Reset() {
      field.validating_ = false;
      field.validateBuffer_ = nullptr;
    }
  } reset{*this};
  validating_ = true;
  validateBuffer_ = buffer;
  OnValidate(*this);
}

void TField::Change() {
  if (OnChange) OnChange(*this);
}

void TField::ReadError(const char* typeName) const { DatabaseErrorFmt(kSFieldReadAs, {DisplayName(), typeName}); }

void TField::WriteError(const char* typeName) const { DatabaseErrorFmt(kSFieldWriteAs, {DisplayName(), typeName}); }

}  // namespace vesk
