#include "runtime/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "runtime/format_settings.h"
#include "runtime/read_or_raise.h"

namespace vesk {
namespace {

constexpr int kFloatDigits = 15;

bool IsBlank(char c) { return c == ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  // from_chars on an unsigned type takes digits only: no second sign, no blank.
  uint64_t magnitude = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
  if (text.empty() || error != std::errc() || stop != end) return false;
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (magnitude > limit) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return true;
}

int32_t StrToInt(std::string_view text) { return ReadOrRaise(TryStrToInt, text, kSInvalidInteger); }

bool TryStrToFloat(std::string_view text, double& value) {
  text = TrimBlanks(text);
  const char separator = GetFormatSettings().decimalSeparator;
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // A digit or the separator must start the number; this also keeps out the
  // "inf" and "nan" that from_chars would read.
  if (text.empty() || !(IsDigit(text.front()) || text.front() == separator)) return false;
  std::string plain(text);
  for (char& c : plain) {
    if (c == separator) {
      c = '.';
    } else if (c == '.') {
      return false;  // a point that is not the regional separator
    }
  }
  double result = 0;
  const char* end = plain.data() + plain.size();
  auto [stop, error] = std::from_chars(plain.data(), end, result, std::chars_format::general);
  if (error != std::errc() || stop != end) return false;
  value = negative ? -result : result;
  return true;
}

double StrToFloat(std::string_view text) { return ReadOrRaise(TryStrToFloat, text, kSInvalidFloat); }

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // d.dddddddddddddde[+-]x: fifteen significant digits, rounded.
  char buffer[32];
  const char* end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kFloatDigits - 1)
          .ptr;  // the buffer is always large enough
  std::string_view text(buffer, end - buffer);
  std::string result;
  if (text.front() == '-') {
    result += '-';
    text.remove_prefix(1);
  }
  const size_t e = text.find('e');
  std::string_view exponentText = text.substr(e + 1);
  if (exponentText.front() == '+') exponentText.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (c != '.') digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const char separator = GetFormatSettings().decimalSeparator;

  if (exponent < -5 || exponent >= kFloatDigits) {
    result += digits[0];
    if (digits.size() > 1) result += separator + digits.substr(1);
    return result + "E" + std::to_string(exponent);
  }
  if (exponent < 0) return result + "0" + separator + std::string(-exponent - 1, '0') + digits;
  const size_t whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) return result + digits + std::string(whole - digits.size(), '0');
  return result + digits.substr(0, whole) + separator + digits.substr(whole);
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return upper(x) == upper(y); });
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

std::string Trim(std::string_view text) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace vesk
