#include "toolkit/data/date_time_field.h"

#include <cmath>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"

namespace vesk {

namespace {

// 1.1.0001 and the day after 31.12.9999 as day numbers.
constexpr double kFirstDay = -693593.0;
constexpr double kDayAfterLast = 2958466.0;

}  // namespace

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType type) : TField(owner, type) {}

TDateTime TDateTimeField::AsDateTime() const {
  double msecs = 0;
  if (!GetData(&msecs)) return 0.0;
  return TimeStampToDateTime(MSecsToTimeStamp(msecs));
}

void TDateTimeField::SetAsDateTime(TDateTime value) {
  // The time stamp cannot hold other values; they would be stored as a
  // wrong date without a word.
  if (!std::isfinite(value) || value < kFirstDay || value >= kDayAfterLast)
    throw EConvertError(FormatMessage(kSInvalidDateTime, {FloatToStr(value)}));
  const double msecs = TimeStampToMSecs(DateTimeToTimeStamp(value));
  SetData(&msecs);
}

double TDateTimeField::AsFloat() const { return AsDateTime(); }

void TDateTimeField::SetAsFloat(double value) { SetAsDateTime(value); }

std::string TDateTimeField::AsString() const {
  if (IsNull()) return {};
  switch (DataType()) {
    case ftDate: return DateToStr(AsDateTime());
    case ftTime: return TimeToStr(AsDateTime());
    default: return DateTimeToStr(AsDateTime());
  }
}

void TDateTimeField::SetAsString(std::string_view text) {
  if (Trim(text).empty()) {
    Clear();
    return;
  }
  switch (DataType()) {
    case ftDate: SetAsDateTime(StrToDate(text)); break;
    case ftTime: SetAsDateTime(StrToTime(text)); break;
    default: SetAsDateTime(StrToDateTime(text)); break;
  }
}

std::string TDateTimeField::GetText(bool /*displayText*/) const {
  if (IsNull()) return {};
  return displayFormat_.empty() ? AsString() : FormatDateTime(displayFormat_, AsDateTime());
}

Variant TDateTimeField::GetAsVariant() const { return Variant::FromDate(AsDateTime()); }

void TDateTimeField::SetAsVariant(const Variant& value) {
  if (value.Type() == VarType::String)
    SetAsString(value.AsString());
  else
    SetAsDateTime(value.AsDate());
}

}  // namespace vesk
