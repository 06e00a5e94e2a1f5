#include "toolkit/data/dataset.h"

#include <algorithm>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "toolkit/data/data_link.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/data/field_name.h"
#include "toolkit/data/notices.h"

namespace vesk {

namespace {

// Data types a persistent field may have over a column of the other type.
bool Compatible(TFieldType field, TFieldType column) {
  auto group = [](TFieldType type) {
    switch (type) {
      case ftAutoInc: return ftInteger;
      case ftCurrency: return ftFloat;
      case ftDate:
      case ftTime: return ftDateTime;
      default: return type;
    }
  };
  return group(field) == group(column);
}

}  // namespace

// Restores the state saved by SetTempState also when the work in between fails.
class TDataSet::TempStateGuard {
 public:
  TempStateGuard(TDataSet& dataset, TDataSetState state) : dataset_(dataset), saved_(dataset.SetTempState(state)) {}
  ~TempStateGuard() { dataset_.RestoreState(saved_); }
  TempStateGuard(const TempStateGuard&) = delete;
  TempStateGuard& operator=(const TempStateGuard&) = delete;

 private:
  TDataSet& dataset_;
  TDataSetState saved_;
};

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
  // The derived class has closed; nothing below may reach its operations.
  openComplete_ = false;
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) source->SetDataSet(nullptr);
  // Each field leaves the list as it is deleted, persistent ones included.
  while (!fields_.empty()) delete fields_.back();
}

// --- Opening and state

void TDataSet::SetActive(bool active) {
  if (IsLoading()) {
    streamedActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (active) {
    Run(BeforeOpen);
    OpenCursor();
    SetState(dsBrowse);
    Run(AfterOpen);
    if (!IsEmpty()) DoAfterScroll();
  } else {
    if (!IsDestroying()) Run(BeforeClose);
    SetState(dsInactive);
    CloseCursor();
    if (!IsDestroying()) Run(AfterClose);
  }
}

void TDataSet::OpenCursor() {
  defaultFields_ = fields_.empty();
  try {
    InternalOpen();
    openComplete_ = true;
    UpdateBufferCount();
    bof_ = true;
  } catch (...) {
    // A failed open leaves the dataset closed; the first failure is the one to report.
    try {
      CloseCursor();
    } catch (...) {
    }
    throw;
  }
}

void TDataSet::CloseCursor() {
  openComplete_ = false;
  FreeFieldBuffers();
  ClearBuffers();
  SetBufListSize(0);
  bufferCount_ = 0;
  calcBuffer_ = nullptr;
  try {
    InternalClose();
  } catch (...) {
    defaultFields_ = false;
    throw;
  }
  defaultFields_ = false;
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError(kSDataSetClosed);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(kSDataSetOpen);
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  modified_ = false;
  DataEvent(deUpdateState);
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
  const TDataSetState saved = state_;
  state_ = state;
  ++tempStateDepth_;
  return saved;
}

void TDataSet::RestoreState(TDataSetState state) {
  state_ = state;
  --tempStateDepth_;
}

void TDataSet::Run(const TDataSetNotifyEvent& event) {
  if (event) event(*this);
}

void TDataSet::DoBeforeScroll() { Run(BeforeScroll); }

void TDataSet::DoAfterScroll() { Run(AfterScroll); }

void TDataSet::DataEvent(TDataEvent event, TField* field, int distance) {
  if (event == deFieldChange && field != nullptr && IsEditState(state_)) {
    if (field->FieldKind() == fkData) {
      modified_ = true;
      if (autoCalcFields_ && calcFieldsSize_ > 0) GetCalcFields(ActiveBuffer());
    }
    field->Change();
  }
  // Temporary states are invisible to controls.
  if (tempStateDepth_ > 0) return;
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) source->DataEvent(event, field, distance);
}

void TDataSet::InternalHandleException(const std::exception& error) { NotifyError(error); }

// --- Fields

void TDataSet::AddField(TField* field) {
  CheckInactive();
  if (!field->FieldName().empty() && FindField(field->FieldName()) != nullptr)
    DatabaseErrorFmt(kSDuplicateFieldName, {field->FieldName()});
  fields_.push_back(field);
}

void TDataSet::RemoveField(TField* field) { std::erase(fields_, field); }

TField* TDataSet::FindField(std::string_view name) const {
  for (TField* field : fields_)
    if (SameFieldName(field->FieldName(), name)) return field;
  return nullptr;
}

TField* TDataSet::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (field == nullptr) DatabaseErrorFmt(kSFieldNotFound, {name}, this);
  return field;
}

TField* TDataSet::FieldByNumber(int fieldNo) const {
  for (TField* field : fields_)
    if (field->FieldNo() == fieldNo) return field;
  return nullptr;
}

std::vector<TField*> TDataSet::GetFieldList(std::string_view names) const {
  std::vector<TField*> list;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string_view::npos) end = names.size();
    const std::string name = Trim(names.substr(start, end - start));
    if (!name.empty()) list.push_back(FieldByName(name));
    start = end + 1;
  }
  return list;
}

Variant TDataSet::FieldValues(std::string_view names) const {
  const std::vector<TField*> list = GetFieldList(names);
  if (list.size() == 1) return list.front()->Value();
  std::vector<Variant> values;
  for (const TField* field : list) values.push_back(field->Value());
  return Variant::FromArray(std::move(values));
}

void TDataSet::CreateFields() {
  for (int i = 0; i < fieldDefs_.Count(); ++i) fieldDefs_[i].CreateField(this);
}

void TDataSet::DestroyFields() {
  while (!fields_.empty()) delete fields_.back();
}

void TDataSet::BindFields(bool binding) {
  calcFieldsSize_ = 0;
  for (TField* field : fields_) {
    if (!binding) {
      field->Bind(0, 0);
    } else if (field->FieldKind() == fkData) {
      const TFieldDef* def = fieldDefs_.Find(field->FieldName());
      if (def == nullptr) DatabaseErrorFmt(kSFieldNotFound, {field->DisplayName()}, this);
      if (!Compatible(field->DataType(), def->DataType()))
        DatabaseErrorFmt(kSFieldTypeMismatch, {field->DisplayName(), FieldTypeName(def->DataType())});
      field->Bind(def->FieldNo(), 0);
    } else {
      field->Bind(-1, calcFieldsSize_);
      calcFieldsSize_ += field->DataSize() + 1;
    }
  }
}

void TDataSet::FreeFieldBuffers() {
  for (TField* field : fields_) field->FreeBuffers();
}

Variant TDataSet::GetStateFieldValue(TDataSetState state, TField* field) {
  if (field->FieldKind() != fkData) return Variant::Null();
  TempStateGuard temp(*this, state);
  return field->Value();
}

// --- Calculated fields

void TDataSet::GetCalcFields(char* buffer) {
  calcBuffer_ = buffer;
  if (calcFieldsSize_ == 0) return;
  TempStateGuard temp(*this, dsCalcFields);
  CalculateFields(buffer);
}

void TDataSet::CalculateFields(char* buffer) {
  ClearCalcFields(buffer);
  for (TField* field : fields_)
    if (field->FieldKind() == fkLookup) CalcLookupValue(field);
  Run(OnCalcFields);
}

void TDataSet::CalcLookupValue(TField* field) {
  TDataSet* lookup = field->LookupDataSet();
  if (lookup == nullptr || !lookup->Active() || field->KeyFields().empty()) return;
  const Variant keys = FieldValues(field->KeyFields());
  if (keys.IsNull()) return;
  field->SetValue(lookup->Lookup(field->LookupKeyFields(), keys, field->LookupResultField()));
}

void TDataSet::InitRecord(char* buffer) {
  InternalInitRecord(buffer);
  ClearCalcFields(buffer);
  SetBookmarkFlag(buffer, bfInserted);
}

// --- Filtering, searching and blobs of the base: stored values, no search

void TDataSet::SetFilterText(std::string text) { filterText_ = std::move(text); }

void TDataSet::SetFiltered(bool filtered) { filtered_ = filtered; }

void TDataSet::SetFilterOptions(TFilterOptions options) { filterOptions_ = options; }

void TDataSet::SetOnFilterRecord(TFilterRecordEvent handler) { onFilterRecord_ = std::move(handler); }

bool TDataSet::FindRecord(bool /*restart*/, bool /*forward*/) { return false; }

bool TDataSet::Locate(std::string_view, const Variant&, TLocateOptions) { return false; }

Variant TDataSet::Lookup(std::string_view, const Variant&, std::string_view) { return Variant::Null(); }

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField*, TBlobStreamMode) { DatabaseError(kSNoBlobs); }

bool TDataSet::GetCurrentRecord(char* /*buffer*/) { return false; }

}  // namespace vesk
