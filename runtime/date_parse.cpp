// Reading dates and times in the order and separators of the regional
// settings.
#include <string>

#include "runtime/datetime.h"
#include "runtime/format_settings.h"
#include "runtime/read_or_raise.h"

namespace vesk {
namespace {

constexpr int kMaxDigits = 4;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A cursor over the text; each step skips the blanks in front of it.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // An unsigned number of one to four digits.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = digits = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) {
      if (++digits > kMaxDigits) return false;
      value = value * 10 + (text_[pos_++] - '0');
    }
    return digits > 0;
  }

  // Milliseconds from one to three digits of a fraction that follows at once.
  bool Fraction(int& msec) {
    int digits = 0;
    msec = 0;
    for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_) {
      if (++digits > 3) return false;
      msec = msec * 10 + (text_[pos_] - '0');
    }
    for (int i = digits; i < 3; ++i) msec *= 10;
    return digits > 0;
  }

  bool Char(char c) {
    SkipBlanks();
    if (pos_ == text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // The word in any ASCII case; an empty word is never found.
  bool Word(std::string_view word) {
    SkipBlanks();
    if (word.empty() || text_.size() - pos_ < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (Upper(text_[pos_ + i]) != Upper(word[i])) return false;
    }
    pos_ += word.size();
    return true;
  }

  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// How the short date format arranges a date: the letters D, M and Y in their
// order, and the character between them.
struct DateLayout {
  std::string order;
  char separator;
};

DateLayout LayoutOf(const FormatSettings& settings) {
  DateLayout layout{"", 0};
  char quote = 0;
  for (char c : settings.shortDateFormat) {
    const char letter = Upper(c);
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (letter == 'D' || letter == 'M' || letter == 'Y') {
      if (layout.order.find(letter) == std::string::npos) layout.order += letter;
    } else if (!layout.separator && !layout.order.empty() && c != ' ' && !(letter >= 'A' && letter <= 'Z')) {
      layout.separator = c == '/' ? settings.dateSeparator : c;
    }
  }
  for (char letter : {'D', 'M', 'Y'}) {
    if (layout.order.find(letter) == std::string::npos) layout.order += letter;
  }
  if (!layout.separator) layout.separator = settings.dateSeparator;
  return layout;
}

int CurrentYear() {
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  return year;
}

// A year written with one or two digits, placed in the century window.
int ExpandYear(int year, const FormatSettings& settings) {
  const int base = CurrentYear() - settings.twoDigitYearCenturyWindow;
  year += base / 100 * 100;
  if (settings.twoDigitYearCenturyWindow > 0 && year < base) year += 100;
  return year;
}

bool ScanDate(Scanner& scanner, const FormatSettings& settings, TDateTime& value) {
  const DateLayout layout = LayoutOf(settings);
  int numbers[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  if (!scanner.Number(numbers[0], digits[0]) || !scanner.Char(layout.separator) ||
      !scanner.Number(numbers[1], digits[1])) {
    return false;
  }
  int day = 0, month = 0, year = 0, yearDigits = 0;
  if (scanner.Char(layout.separator)) {
    if (!scanner.Number(numbers[2], digits[2])) return false;
    for (int i = 0; i < 3; ++i) {
      switch (layout.order[i]) {
        case 'D': day = numbers[i]; break;
        case 'M': month = numbers[i]; break;
        default: year = numbers[i]; yearDigits = digits[i];
      }
    }
  } else {
    // Day and month alone, in the order the format gives them; this year.
    const bool dayFirst = layout.order.find('D') < layout.order.find('M');
    day = numbers[dayFirst ? 0 : 1];
    month = numbers[dayFirst ? 1 : 0];
    year = CurrentYear();
    yearDigits = kMaxDigits;
  }
  if (yearDigits <= 2) year = ExpandYear(year, settings);
  return TryEncodeDate(year, month, day, value);
}

bool ScanTime(Scanner& scanner, const FormatSettings& settings, TDateTime& value) {
  auto designator = [&](int& baseHour) {
    if (scanner.Word(settings.timeAMString) || scanner.Word("AM")) {
      baseHour = 0;
    } else if (scanner.Word(settings.timePMString) || scanner.Word("PM")) {
      baseHour = 12;
    }
  };
  int baseHour = -1;
  designator(baseHour);
  int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
  if (!scanner.Number(hour, digits) || !scanner.Char(settings.timeSeparator) || !scanner.Number(minute, digits)) {
    return false;
  }
  if (scanner.Char(settings.timeSeparator)) {
    if (!scanner.Number(second, digits)) return false;
    if (scanner.Char(settings.decimalSeparator) && !scanner.Fraction(msec)) return false;
  }
  if (baseHour < 0) designator(baseHour);
  if (baseHour >= 0) {
    // 12 AM is midnight, 12 PM noon; there is no hour 0 or 13 on this clock.
    if (hour == 0 || hour > 12) return false;
    hour = hour % 12 + baseHour;
  }
  return TryEncodeTime(hour, minute, second, msec, value);
}

// The scan step must take the whole text; value is set only then.
bool ScanWhole(bool (*scan)(Scanner&, const FormatSettings&, TDateTime&), std::string_view text, TDateTime& value) {
  Scanner scanner(text);
  TDateTime result = 0;
  if (!scan(scanner, GetFormatSettings(), result) || !scanner.AtEnd()) return false;
  value = result;
  return true;
}

}  // namespace

bool TryStrToDate(std::string_view text, TDateTime& value) { return ScanWhole(ScanDate, text, value); }

bool TryStrToTime(std::string_view text, TDateTime& value) { return ScanWhole(ScanTime, text, value); }

bool TryStrToDateTime(std::string_view text, TDateTime& value) {
  const FormatSettings& settings = GetFormatSettings();
  Scanner scanner(text);
  TDateTime date = 0, time = 0;
  if (ScanDate(scanner, settings, date) &&
      (scanner.AtEnd() || (ScanTime(scanner, settings, time) && scanner.AtEnd()))) {
    value = ComposeDateTime(date, time);
    return true;
  }
  return TryStrToTime(text, value);
}

TDateTime StrToDate(std::string_view text) { return ReadOrRaise(TryStrToDate, text, kSInvalidDate); }

TDateTime StrToTime(std::string_view text) { return ReadOrRaise(TryStrToTime, text, kSInvalidTime); }

TDateTime StrToDateTime(std::string_view text) { return ReadOrRaise(TryStrToDateTime, text, kSInvalidDateTime); }

}  // namespace vesk
