#include "toolkit/data/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/conversions.h"
#include "runtime/format_settings.h"

namespace vesk {

namespace {

bool IsPlace(char c) { return c == '0' || c == '#'; }

// The digits of |value| rounded half away from zero to `decimals` places,
// split into integer and fraction digits. Rounding works on the 16
// significant decimal digits of the value, so 2.675 rounds up as written.
void RoundedDigits(double value, int decimals, std::string& whole, std::string& fraction) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15e", std::fabs(value));
  std::string digits(1, text[0]);
  digits.append(text + 2, 15);
  int point = std::atoi(std::strchr(text, 'e') + 1) + 1;  // digits before the decimal point
  if (point <= 0) {
    digits.insert(0, static_cast<size_t>(1 - point), '0');
    point = 1;
  }
  const size_t keep = static_cast<size_t>(point + decimals);
  if (keep < digits.size()) {
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
      size_t i = keep;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(0, 1, '1');
        ++point;
      } else {
        ++digits[i - 1];
      }
    }
  } else {
    digits.append(keep - digits.size(), '0');
  }
  whole = digits.substr(0, static_cast<size_t>(point));
  fraction = digits.substr(static_cast<size_t>(point));
}

}  // namespace

std::string FormatFloat(std::string_view format, double value) {
  size_t first = format.find_first_of("0#");
  if (first == std::string_view::npos || !std::isfinite(value)) return FloatToStr(value);
  if (first > 0 && format[first - 1] == '.') --first;
  size_t last = format.find_last_of("0#");
  const std::string_view prefix = format.substr(0, first);
  const std::string_view pattern = format.substr(first, last + 1 - first);
  const std::string_view suffix = format.substr(last + 1);

  const size_t dot = pattern.find('.');
  const std::string_view wholePattern = pattern.substr(0, dot);
  const std::string_view fractionPattern = dot == std::string_view::npos ? std::string_view() : pattern.substr(dot + 1);
  const bool grouped = wholePattern.find(',') != std::string_view::npos;
  size_t minWhole = 0;
  for (char c : wholePattern) minWhole += c == '0';
  int maxDecimals = 0;
  size_t minDecimals = 0;
  for (char c : fractionPattern) {
    maxDecimals += IsPlace(c);
    minDecimals += c == '0';
  }

  std::string whole, fraction;
  RoundedDigits(value, maxDecimals, whole, fraction);
  const size_t firstDigit = whole.find_first_not_of('0');
  whole.erase(0, std::min(firstDigit == std::string::npos ? whole.size() : firstDigit, whole.size()));
  if (whole.size() < minWhole) whole.insert(0, minWhole - whole.size(), '0');
  while (fraction.size() > minDecimals && fraction.back() == '0') fraction.pop_back();
  if (whole.empty() && fraction.empty()) whole = "0";

  const FormatSettings& settings = GetFormatSettings();
  std::string number;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (grouped && i > 0 && (whole.size() - i) % 3 == 0) number += settings.thousandSeparator;
    number += whole[i];
  }
  if (!fraction.empty()) number += settings.decimalSeparator + fraction;
  const bool negative = value < 0 && (whole.find_first_not_of('0') != std::string::npos ||
                                      fraction.find_first_not_of('0') != std::string::npos);
  return (negative ? "-" : "") + std::string(prefix) + number + std::string(suffix);
}

}  // namespace vesk
