#include "toolkit/data/field_def.h"

#include "toolkit/data/blob_field.h"
#include "toolkit/data/boolean_field.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field_name.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"

namespace vesk {

TFieldDef::TFieldDef(std::string name, TFieldType dataType, int size, bool required, int fieldNo)
    : name_(std::move(name)), dataType_(dataType), size_(size), required_(required), fieldNo_(fieldNo) {}

namespace {

TField* NewField(TFieldType type, TComponent* owner) {
  switch (type) {
    case ftString: return new TStringField(owner);
    case ftInteger: return new TIntegerField(owner);
    case ftAutoInc: return new TAutoIncField(owner);
    case ftBoolean: return new TBooleanField(owner);
    case ftFloat: return new TFloatField(owner);
    case ftCurrency: return new TCurrencyField(owner);
    case ftDate:
    case ftTime:
    case ftDateTime: return new TDateTimeField(owner, type);
    case ftMemo: return new TMemoField(owner);
    case ftFmtMemo: return new TFmtMemoField(owner);
    case ftGraphic: return new TGraphicField(owner);
    case ftBlob: return new TBlobField(owner);
    case ftUnknown: break;
  }
  return nullptr;
}

}  // namespace

TField* TFieldDef::CreateField(TComponent* owner) const {
  if (dataType_ == ftUnknown) DatabaseErrorFmt(kSUnknownFieldType, {name_});
  TField* field = NewField(dataType_, owner);
  field->SetFieldName(name_);
  if (dataType_ == ftString) field->SetSize(size_);
  field->SetRequired(required_);
  return field;
}

TFieldDef& TFieldDefs::Add(std::string name, TFieldType dataType, int size, bool required, int fieldNo) {
  if (fieldNo == 0) fieldNo = Count() + 1;
  return defs_.emplace_back(std::move(name), dataType, size, required, fieldNo);
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameFieldName(defs_[i].Name(), name)) return i;
  return -1;
}

const TFieldDef* TFieldDefs::Find(std::string_view name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : &defs_[index];
}

}  // namespace vesk
