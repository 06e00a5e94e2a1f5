// FormatDateTime and the regional date and time texts built on it.
#include <string>

#include "runtime/datetime.h"
#include "runtime/format_settings.h"

namespace vesk {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Upper(text[at + i]) != Upper(word[i])) return false;
  }
  return true;
}

class Formatter {
 public:
  Formatter(TDateTime value, const FormatSettings& settings) : value_(value), settings_(settings) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, minute_, second_, msec_);
  }

  // Nested formats (c, t, ddddd...) are expanded one level deep only, so a
  // regional format that names itself cannot recurse without end.
  void Append(std::string_view format, int depth) {
    if (depth >= 2) return;
    const bool twelveHour = HasAmPm(format);
    char last = 0;
    size_t i = 0;
    while (i < format.size()) {
      const char start = format[i];
      char token = Upper(start);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && last == 'H') token = 'N';
        last = token;
      }
      size_t count = 1;
      while (i + count < format.size() && format[i + count] == start) ++count;
      switch (token) {
        case 'Y': Number(count <= 2 ? year_ % 100 : year_, count <= 2 ? 2 : 4); break;
        case 'M':
          if (count <= 2) {
            Number(month_, count);
          } else if (month_ >= 1) {
            out_ += count == 3 ? settings_.shortMonthNames[month_ - 1] : settings_.longMonthNames[month_ - 1];
          }
          break;
        case 'D':
          if (count <= 2) {
            Number(day_, count);
          } else if (count <= 4) {
            const int weekday = DayOfWeek(value_) - 1;
            out_ += count == 3 ? settings_.shortDayNames[weekday] : settings_.longDayNames[weekday];
          } else {
            Append(count == 5 ? settings_.shortDateFormat : settings_.longDateFormat, depth + 1);
          }
          break;
        case 'H': Number(twelveHour ? (hour_ + 11) % 12 + 1 : hour_, count == 1 ? 1 : 2); break;
        case 'N': Number(minute_, count == 1 ? 1 : 2); break;
        case 'S': Number(second_, count == 1 ? 1 : 2); break;
        case 'Z': Number(msec_, count == 1 ? 1 : 3); break;
        case 'T': Append(count == 1 ? settings_.shortTimeFormat : settings_.longTimeFormat, depth + 1); break;
        case 'C':
          Append(settings_.shortDateFormat, depth + 1);
          if (hour_ != 0 || minute_ != 0 || second_ != 0) {
            out_ += ' ';
            Append(settings_.longTimeFormat, depth + 1);
          }
          break;
        case 'A': count = AmPm(format, i); break;
        case '/':
          count = 1;
          out_ += settings_.dateSeparator;
          break;
        case ':':
          count = 1;
          out_ += settings_.timeSeparator;
          break;
        case '\'':
        case '"': {
          const size_t close = format.find(start, i + 1);
          const size_t stop = close == std::string_view::npos ? format.size() : close;
          out_ += format.substr(i + 1, stop - i - 1);
          count = stop - i + 1;
          break;
        }
        default: count = 1; out_ += start;
      }
      i += count;
    }
  }

  std::string Result() && { return std::move(out_); }

 private:
  // Whether the format shows the hour on the 12-hour clock.
  static bool HasAmPm(std::string_view format) {
    char quote = 0;
    for (size_t i = 0; i < format.size(); ++i) {
      if (quote) {
        if (format[i] == quote) quote = 0;
      } else if (format[i] == '\'' || format[i] == '"') {
        quote = format[i];
      } else if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
                 StartsWithNoCase(format, i, "ampm")) {
        return true;
      }
    }
    return false;
  }

  // The designator at format[at]; returns the characters it takes. am/pm and
  // a/p keep the case in which the format writes them.
  size_t AmPm(std::string_view format, size_t at) {
    const bool pm = hour_ >= 12;
    if (StartsWithNoCase(format, at, "am/pm")) {
      out_ += format.substr(pm ? at + 3 : at, 2);
      return 5;
    }
    if (StartsWithNoCase(format, at, "a/p")) {
      out_ += format[pm ? at + 2 : at];
      return 3;
    }
    if (StartsWithNoCase(format, at, "ampm")) {
      out_ += pm ? settings_.timePMString : settings_.timeAMString;
      return 4;
    }
    out_ += format[at];
    return 1;
  }

  // The number with at least `width` digits.
  void Number(int value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) out_.append(width - digits.size(), '0');
    out_ += digits;
  }

  TDateTime value_;
  const FormatSettings& settings_;
  int year_ = 0, month_ = 0, day_ = 0;
  int hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0;
  std::string out_;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value) {
  Formatter formatter(value, GetFormatSettings());
  formatter.Append(format, 0);
  return std::move(formatter).Result();
}

std::string DateToStr(TDateTime value) { return FormatDateTime("ddddd", value); }

std::string TimeToStr(TDateTime value) { return FormatDateTime("tt", value); }

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

}  // namespace vesk
