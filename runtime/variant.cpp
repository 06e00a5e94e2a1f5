#include "runtime/variant.h"

#include <cmath>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"

namespace vesk {
namespace {

constexpr int64_t kCurrencyScale = 10000;

[[noreturn]] void CastError() { throw EVariantError(std::string(kSInvalidVarCast)); }

// A whole number already rounded or truncated, if it fits 32 bits.
int32_t ToInt32(double whole) {
  if (!(whole >= INT32_MIN && whole <= INT32_MAX)) CastError();  // NaN too
  return static_cast<int32_t>(whole);
}

// Up to four decimals, trailing zeros left off: "1,5", "-0,0001", "3".
std::string CurrencyToStr(Currency value) {
  const bool negative = value.scaled < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value.scaled) : static_cast<uint64_t>(value.scaled);
  std::string result = (negative ? "-" : "") + std::to_string(magnitude / kCurrencyScale);
  std::string fraction = std::to_string(magnitude % kCurrencyScale + kCurrencyScale).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) result += GetFormatSettings().decimalSeparator + fraction;
  return result;
}

}  // namespace

Currency Currency::FromDouble(double value) {
  // Rounded half to even, as the floating-point unit does by default.
  const double scaled = std::nearbyint(value * kCurrencyScale);
  if (!(std::fabs(scaled) < 9.2e18)) CastError();
  return Currency{static_cast<int64_t>(scaled)};
}

Variant Variant::Null() {
  Variant result;
  result.type_ = VarType::Null;
  return result;
}

Variant::Variant(int32_t value) : type_(VarType::Integer) { num_.i = value; }
Variant::Variant(int16_t value) : type_(VarType::SmallInt) { num_.i = value; }
Variant::Variant(double value) : type_(VarType::Double) { num_.d = value; }
Variant::Variant(Currency value) : type_(VarType::Currency) { num_.c = value.scaled; }
Variant::Variant(std::string value) : type_(VarType::String), text_(std::move(value)) {}
Variant::Variant(const char* value) : Variant(std::string(value)) {}
Variant::Variant(bool value) : type_(VarType::Boolean) { num_.b = value; }

Variant Variant::FromDate(TDateTime value) {
  Variant result(value);
  result.type_ = VarType::Date;
  return result;
}

Variant Variant::FromArray(std::vector<Variant> items) {
  Variant result;
  result.type_ = VarType::Array;
  result.items_ = std::move(items);
  return result;
}

int32_t Variant::AsInteger() const {
  switch (type_) {
    case VarType::String: {
      int32_t value = 0;
      if (!TryStrToInt(text_, value)) CastError();
      return value;
    }
    case VarType::Date: return ToInt32(std::trunc(num_.d));
    default: return ToInt32(std::nearbyint(AsDouble()));
  }
}

double Variant::AsDouble() const {
  switch (type_) {
    case VarType::Empty: return 0;
    case VarType::SmallInt:
    case VarType::Integer: return num_.i;
    case VarType::Double:
    case VarType::Date: return num_.d;
    case VarType::Currency: return Currency{num_.c}.ToDouble();
    case VarType::String: {
      double value = 0;
      if (!TryStrToFloat(text_, value)) CastError();
      return value;
    }
    case VarType::Boolean: return num_.b ? -1 : 0;
    case VarType::Null:
    case VarType::Array: break;
  }
  CastError();
}

Currency Variant::AsCurrency() const {
  return type_ == VarType::Currency ? Currency{num_.c} : Currency::FromDouble(AsDouble());
}

std::string Variant::AsString() const {
  switch (type_) {
    case VarType::Empty: return "";
    case VarType::SmallInt:
    case VarType::Integer: return IntToStr(num_.i);
    case VarType::Double: return FloatToStr(num_.d);
    case VarType::Currency: return CurrencyToStr(Currency{num_.c});
    case VarType::String: return text_;
    case VarType::Boolean: return num_.b ? "True" : "False";
    case VarType::Date: return DateTimeToStr(num_.d);
    case VarType::Null:
    case VarType::Array: break;
  }
  CastError();
}

bool Variant::AsBoolean() const {
  switch (type_) {
    case VarType::Boolean: return num_.b;
    case VarType::String: {
      const std::string upper = UpperCase(text_);
      if (upper == "TRUE") return true;
      if (upper == "FALSE") return false;
      int32_t whole = 0;
      if (TryStrToInt(text_, whole)) return whole != 0;
      return AsDouble() != 0;
    }
    case VarType::Currency: return num_.c != 0;
    default: return AsDouble() != 0;
  }
}

TDateTime Variant::AsDate() const {
  if (type_ != VarType::String) return AsDouble();
  TDateTime value = 0;
  if (!TryStrToDateTime(text_, value)) CastError();
  return value;
}

const std::vector<Variant>& Variant::AsArray() const {
  if (type_ != VarType::Array) CastError();
  return items_;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  switch (a.type_) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::SmallInt:
    case VarType::Integer: return a.num_.i == b.num_.i;
    case VarType::Double:
    case VarType::Date: return a.num_.d == b.num_.d;
    case VarType::Currency: return a.num_.c == b.num_.c;
    case VarType::String: return a.text_ == b.text_;
    case VarType::Boolean: return a.num_.b == b.num_.b;
    case VarType::Array: return a.items_ == b.items_;
  }
  return false;
}

}  // namespace vesk
