#include "tools/filter/constant_conversion.h"

#include <string>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"
#include "toolkit/data/database_error.h"
#include "tools/filter/filter_messages.h"

namespace vesk {
namespace {

// A text with a T is true, else one with an F false (ASCII letters, any case).
Variant TextAsBoolean(const std::string& text) {
  const std::string upper = UpperCase(text);
  if (upper.find('T') != std::string::npos) return Variant(true);
  if (upper.find('F') != std::string::npos) return Variant(false);
  DatabaseError(text + std::string(kSNotBooleanValue));
}

// A non-text constant through its value type; a failure names the constant.
template <typename Convert>
Variant ByValueType(const Variant& value, Convert convert) {
  try {
    return convert(value);
  } catch (const EVariantError&) {
    DatabaseError(value.AsString() + std::string(kSNotDataValue));
  }
}

}  // namespace

Variant ConvertConstant(const Variant& value, TFieldType type) {
  if (value.IsNull()) return value;
  const bool text = value.Type() == VarType::String;
  switch (type) {
    case ftInteger:
      if (text) return Variant(StrToInt(value.AsString()));
      return ByValueType(value, [](const Variant& v) { return Variant(v.AsInteger()); });
    case ftBoolean:
      if (text) return TextAsBoolean(value.AsString());
      return ByValueType(value, [](const Variant& v) { return Variant(v.AsBoolean()); });
    case ftFloat:
    case ftCurrency:
      if (text) return Variant(StrToFloat(value.AsString()));
      return ByValueType(value, [](const Variant& v) { return Variant(v.AsDouble()); });
    case ftDate:
    case ftTime:
    case ftDateTime:
      if (text) return Variant::FromDate(StrToDateTime(value.AsString()));
      return ByValueType(value, [](const Variant& v) { return Variant::FromDate(v.AsDouble()); });
    default: return value;
  }
}

}  // namespace vesk
