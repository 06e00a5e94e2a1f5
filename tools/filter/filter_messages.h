// Message texts of the filter language: the parser's are German like the
// toolkit's, the evaluator's English like the table layer's.
#pragma once

#include <string_view>

namespace vesk {

inline constexpr std::string_view kSExprTermination = "Filterausdruck fehlerhaft abgeschlossen";
inline constexpr std::string_view kSExprNameError = "Nicht begrenzter Feldname";
inline constexpr std::string_view kSExprStringError = "Nicht begrenzte String-Konstante";
inline constexpr std::string_view kSExprInvalidChar = "Ungültiges Zeichen in Filterausdruck: '%s'";
inline constexpr std::string_view kSExprNoRParen = "')' erwartet, jedoch %s vorgefunden";
inline constexpr std::string_view kSExprExpected = "Ausdruck erwartet, jedoch %s vorgefunden";
// DescribeToken at the end of the text.
inline constexpr std::string_view kSExprEmpty = "leer";
// Parentheses nested deeper than the parser follows.
inline constexpr std::string_view kSExprTooDeep = "Filterausdruck zu tief verschachtelt";

inline constexpr std::string_view kSExprEvalError = "Error in filter expression evaluation";
// Behind the field name.
inline constexpr std::string_view kSNotFilterType = " is not a valid filter type";
inline constexpr std::string_view kSNullCompare =
    "Filter expression error. <> operators not valid for null comparisons";
// Behind the constant's text.
inline constexpr std::string_view kSNotBooleanValue = " is not a valid boolean data value.";
inline constexpr std::string_view kSNotDataValue = " is not a valid data value";

}  // namespace vesk
