#include "tools/filter/value_compare.h"

#include <algorithm>
#include <string>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

// The comparison classes of the value kinds; Null ranks below the others.
enum Class : int { kEmpty = 0, kNull, kInteger, kFloat, kCurrency, kText, kBoolean, kDate };

Class ClassOf(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty: return kEmpty;
    case VarType::Null: return kNull;
    case VarType::SmallInt:
    case VarType::Integer: return kInteger;
    case VarType::Double: return kFloat;
    case VarType::Currency: return kCurrency;
    case VarType::String: return kText;
    case VarType::Boolean: return kBoolean;
    case VarType::Date: return kDate;
    case VarType::Array: break;
  }
  throw EVariantError(std::string(kSInvalidVarCast));
}

unsigned char Fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

}  // namespace

int CompareStrings(std::string_view s1, std::string_view s2, int32_t n, uint32_t options) {
  const uint32_t mode = n < 0 ? options & kOptionCaseInsensitive : options;
  const bool fold = mode == 1 || mode == 3;
  if (mode == 2 || mode == 3) {
    const size_t limit = static_cast<size_t>(n);
    s1 = s1.substr(0, std::min(s1.size(), limit));
    s2 = s2.substr(0, std::min(s2.size(), limit));
  }
  const size_t common = std::min(s1.size(), s2.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char a = static_cast<unsigned char>(s1[i]);
    unsigned char b = static_cast<unsigned char>(s2[i]);
    if (fold) {
      a = Fold(a);
      b = Fold(b);
    }
    if (a != b) return a < b ? -1 : 1;
  }
  if (s1.size() == s2.size()) return 0;
  return s1.size() < s2.size() ? -1 : 1;
}

std::partial_ordering CompareValues(const Variant& left, const Variant& right) {
  const Class l = ClassOf(left);
  const Class r = ClassOf(right);
  if (l == kEmpty || r == kEmpty) throw EVariantError(std::string(kSInvalidVarOp));
  if (l == kNull || r == kNull) return l <=> r;
  if (l == kDate || r == kDate) return left.AsDouble() <=> right.AsDouble();
  if (l == kCurrency || r == kCurrency) return left.AsCurrency() <=> right.AsCurrency();
  if (l == kText && r == kText) {
    const int c = CompareStrings(left.AsString(), right.AsString(), -1, 0);
    return c <=> 0;
  }
  if (l == kInteger && (r == kInteger || r == kBoolean)) return left.AsInteger() <=> right.AsInteger();
  if (l == kBoolean && r == kInteger) return left.AsInteger() <=> right.AsInteger();
  if (l == kBoolean && (r == kBoolean || r == kText)) return left.AsBoolean() <=> right.AsBoolean();
  if (l == kText && r == kBoolean) return left.AsBoolean() <=> right.AsBoolean();
  return left.AsDouble() <=> right.AsDouble();
}

}  // namespace vesk
