// Variant: the runtime's tagged value. Field values, filter constants, key
// values of searches and lookup results are Variants.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/datetime.h"

namespace vesk {

// Currency: a fixed-point number with four decimals, kept as value * 10000.
struct Currency {
  int64_t scaled = 0;
  // Rounded half to even to four decimals; EVariantError when out of range.
  static Currency FromDouble(double value);
  double ToDouble() const { return static_cast<double>(scaled) / 10000.0; }
  friend bool operator==(Currency a, Currency b) = default;
  friend auto operator<=>(Currency a, Currency b) = default;
};

enum class VarType : uint8_t {
  Empty,  // unassigned
  Null,
  SmallInt,  // 16-bit integer
  Integer,   // 32-bit integer
  Double,
  Currency,
  String,
  Boolean,
  Date,   // TDateTime
  Array,  // of Variants (several key values or lookup results)
};

class Variant {
 public:
  Variant() = default;  // Empty
  static Variant Null();
  Variant(int32_t value);
  Variant(int16_t value);
  Variant(double value);
  Variant(Currency value);
  Variant(std::string value);
  Variant(const char* value);
  Variant(bool value);
  static Variant FromDate(TDateTime value);
  static Variant FromArray(std::vector<Variant> items);

  VarType Type() const { return type_; }
  bool IsEmpty() const { return type_ == VarType::Empty; }
  bool IsNull() const { return type_ == VarType::Null; }

  // Conversions. Text reads with the runtime's readers (regional formats);
  // booleans are -1/0 as numbers and "True"/"False" as text; a date is its day
  // number (AsInteger drops the time, AsString gives DateTimeToStr) and text
  // reads as a date with TryStrToDateTime. Floating point and currency round
  // half to even to an integer. Empty reads as 0, "" or false; Null, an array,
  // a text that does not read, or a number outside the target's range raises
  // EVariantError "Ungültige Variant-Typumwandlung".
  int32_t AsInteger() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  std::string AsString() const;
  bool AsBoolean() const;
  TDateTime AsDate() const;
  const std::vector<Variant>& AsArray() const;  // EVariantError unless Array
  // The text of a String without a copy (for comparisons run per record);
  // other types convert as AsString does, into scratch.
  std::string_view TextView(std::string& scratch) const {
    if (type_ == VarType::String) return text_;
    scratch = AsString();
    return scratch;
  }

  // Same type and same value (arrays element by element).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  VarType type_ = VarType::Empty;
  union {
    int32_t i;
    double d;
    int64_t c;
    bool b;
  } num_{};
  std::string text_;
  std::vector<Variant> items_;
};

}  // namespace vesk
