// Text to number and number to text, in the formats of the regional settings.
// TryStrToInt is the one integer reader of the system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// Reads one whole 32-bit signed integer: leading blanks skipped, an optional
// "+" or "-", a leading "$", "x", "X", "0x" or "0X" for hexadecimal digits, no
// other character after the digits; values outside the 32-bit range refused.
bool TryStrToInt(std::string_view text, int32_t& value);
// As TryStrToInt; raises EConvertError "'%s' ist kein gültiger Integerwert".
int32_t StrToInt(std::string_view text);

// Reads a floating-point number with the regional decimal separator; blanks
// around are allowed, an exponent may follow. No thousands separators.
bool TryStrToFloat(std::string_view text, double& value);
// As TryStrToFloat; raises EConvertError "'%s' ist kein gültiger Gleitkommawert".
double StrToFloat(std::string_view text);

std::string IntToStr(int64_t value);
// Shortest text that reads back as the same number, regional decimal separator,
// at most 15 significant digits ("1,5", "100", "1E20").
std::string FloatToStr(double value);

// ASCII-only case mapping and trimming of blanks and control characters.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameIgnoringCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);

}  // namespace vesk
