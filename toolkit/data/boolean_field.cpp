#include "toolkit/data/boolean_field.h"

#include <QString>

#include "runtime/conversions.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"

namespace vesk {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return QString::compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                          QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

}  // namespace

TBooleanField::TBooleanField(TComponent* owner) : TField(owner, ftBoolean) {}

void TBooleanField::SetDisplayValues(std::string values) {
  const size_t separator = values.find(';');
  trueText_ = values.substr(0, separator);
  falseText_ = separator == std::string::npos ? std::string() : values.substr(separator + 1);
  displayValues_ = std::move(values);
}

bool TBooleanField::AsBoolean() const {
  int16_t value = 0;
  return GetData(&value) && value != 0;
}

void TBooleanField::SetAsBoolean(bool value) {
  const int16_t stored = value ? 1 : 0;
  SetData(&stored);
}

std::string TBooleanField::AsString() const {
  if (IsNull()) return {};
  return AsBoolean() ? trueText_ : falseText_;
}

void TBooleanField::SetAsString(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty())
    Clear();
  else if (!trueText_.empty() && SameText(trimmed, trueText_))
    SetAsBoolean(true);
  else if (!falseText_.empty() && SameText(trimmed, falseText_))
    SetAsBoolean(false);
  else
    DatabaseErrorFmt(kSNotBoolean, {text});
}

int32_t TBooleanField::AsInteger() const { return AsBoolean() ? 1 : 0; }

void TBooleanField::SetAsInteger(int32_t value) { SetAsBoolean(value != 0); }

Variant TBooleanField::GetAsVariant() const { return Variant(AsBoolean()); }

void TBooleanField::SetAsVariant(const Variant& value) {
  if (value.Type() == VarType::String)
    SetAsString(value.AsString());
  else
    SetAsBoolean(value.AsBoolean());
}

}  // namespace vesk
