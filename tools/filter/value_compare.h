// The comparisons of the filter language: texts under the filter's options,
// and a record's value against a constant.
#pragma once

#include <compare>
#include <cstdint>
#include <string_view>

#include "runtime/variant.h"

namespace vesk {

// Bits of the filter's Options.
inline constexpr uint32_t kOptionCaseInsensitive = 1;
inline constexpr uint32_t kOptionPartial = 2;

// Unsigned bytes up to the first difference, a proper prefix below the
// longer text; with the case-insensitive bit ASCII letters fold, with the
// partial bit (and n >= 0) at most n bytes count. A negative n keeps only
// the case-insensitive bit. Negative, 0 or positive.
int CompareStrings(std::string_view s1, std::string_view s2, int32_t n, uint32_t options);

// The value comparison rules: Empty on either side raises EVariantError
// "Ungültige Variant-Operation"; Null is below everything else; then date,
// currency, text, integer, boolean and floating point in that order of
// precedence. Unordered for a floating-point NaN.
std::partial_ordering CompareValues(const Variant& left, const Variant& right);

}  // namespace vesk
