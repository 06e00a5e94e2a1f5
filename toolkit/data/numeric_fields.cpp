#include "toolkit/data/numeric_fields.h"

#include <cmath>
#include <limits>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "toolkit/data/database_error.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/number_format.h"

namespace vesk {

namespace {

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

}  // namespace

const std::string& TNumericField::FormatFor(bool displayText) const {
  return displayText ? displayFormat_ : editFormat_;
}

// --- TIntegerField

TIntegerField::TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger) {}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type) : TNumericField(owner, type) {}

void TIntegerField::RangeError(const std::string& value) const {
  const bool ranged = minValue_ != 0 || maxValue_ != 0;
  const int32_t low = ranged ? minValue_ : std::numeric_limits<int32_t>::min();
  const int32_t high = ranged ? maxValue_ : std::numeric_limits<int32_t>::max();
  DatabaseErrorFmt(kSFieldRangeError, {value, DisplayName(), IntToStr(low), IntToStr(high)});
}

int32_t TIntegerField::AsInteger() const {
  int32_t value = 0;
  return GetData(&value) ? value : 0;
}

void TIntegerField::SetAsInteger(int32_t value) {
  if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_)) RangeError(IntToStr(value));
  SetData(&value);
}

std::string TIntegerField::AsString() const { return IsNull() ? std::string() : IntToStr(AsInteger()); }

void TIntegerField::SetAsString(std::string_view text) {
  if (IsBlank(text))
    Clear();
  else
    SetAsInteger(StrToInt(Trim(text)));  // masked input comes with blanks
}

double TIntegerField::AsFloat() const { return AsInteger(); }

void TIntegerField::SetAsFloat(double value) {
  if (!std::isfinite(value)) throw EConvertError(FormatMessage(kSInvalidFloat, {FloatToStr(value)}));
  const double rounded = std::round(value);
  if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
    RangeError(FloatToStr(value));
  SetAsInteger(static_cast<int32_t>(rounded));
}

bool TIntegerField::AsBoolean() const { return AsInteger() != 0; }

void TIntegerField::SetAsBoolean(bool value) { SetAsInteger(value ? 1 : 0); }

Variant TIntegerField::GetAsVariant() const { return Variant(AsInteger()); }

void TIntegerField::SetAsVariant(const Variant& value) {
  switch (value.Type()) {
    case VarType::String: SetAsString(value.AsString()); break;
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date: SetAsFloat(value.AsDouble()); break;
    default: SetAsInteger(value.AsInteger()); break;
  }
}

std::string TIntegerField::GetText(bool displayText) const {
  if (IsNull()) return {};
  const std::string& format = FormatFor(displayText);
  return format.empty() ? IntToStr(AsInteger()) : FormatFloat(format, AsInteger());
}

TAutoIncField::TAutoIncField(TComponent* owner) : TIntegerField(owner, ftAutoInc) {}

// --- TFloatField

TFloatField::TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}

TFloatField::TFloatField(TComponent* owner, TFieldType type) : TNumericField(owner, type) {}

double TFloatField::AsFloat() const {
  double value = 0;
  return GetData(&value) ? value : 0.0;
}

void TFloatField::SetAsFloat(double value) {
  if (!std::isfinite(value)) throw EConvertError(FormatMessage(kSInvalidFloat, {FloatToStr(value)}));
  if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_))
    DatabaseErrorFmt(kSFieldRangeError,
                     {FloatToStr(value), DisplayName(), FloatToStr(minValue_), FloatToStr(maxValue_)});
  SetData(&value);
}

std::string TFloatField::AsString() const { return IsNull() ? std::string() : FloatToStr(AsFloat()); }

void TFloatField::SetAsString(std::string_view text) {
  if (IsBlank(text))
    Clear();
  else
    SetAsFloat(StrToFloat(text));
}

int32_t TFloatField::AsInteger() const {
  const double rounded = std::round(AsFloat());
  if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
    ReadError("Integer");
  return static_cast<int32_t>(rounded);
}

void TFloatField::SetAsInteger(int32_t value) { SetAsFloat(value); }

Variant TFloatField::GetAsVariant() const { return Variant(AsFloat()); }

void TFloatField::SetAsVariant(const Variant& value) {
  if (value.Type() == VarType::String)
    SetAsString(value.AsString());
  else
    SetAsFloat(value.AsDouble());
}

std::string TFloatField::GetText(bool displayText) const {
  if (IsNull()) return {};
  const std::string& format = FormatFor(displayText);
  return format.empty() ? FloatToStr(AsFloat()) : FormatFloat(format, AsFloat());
}

// --- TCurrencyField

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) {}

Variant TCurrencyField::GetAsVariant() const { return Variant(Currency::FromDouble(AsFloat())); }

std::string TCurrencyField::GetText(bool displayText) const {
  if (IsNull()) return {};
  const std::string& format = FormatFor(displayText);
  if (!format.empty()) return FormatFloat(format, AsFloat());
  return FormatFloat(displayText ? "#,##0.00 €" : "0.00", AsFloat());
}

}  // namespace vesk
