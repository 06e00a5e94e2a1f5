// Translation of the C library's strftime date and time formats (as
// nl_langinfo reports them) into the runtime's format letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk {

struct DateFormat {
  std::string format;  // for example "dd.mm.yyyy"
  char separator;
};

struct TimeFormat {
  std::string longFormat;   // for example "hh:nn:ss" or "hh:nn:ss ampm"
  std::string shortFormat;  // the same without seconds
  char separator;
  bool twelveHour;  // the format shows the AM/PM designator
};

// Nothing when the format cannot be written so that the runtime's parsers
// read back what it formats: each of day, month and year (hours and minutes,
// optionally seconds) exactly once as a number, joined by one separator.
std::optional<DateFormat> TranslateDateFormat(std::string_view strftime);
std::optional<TimeFormat> TranslateTimeFormat(std::string_view strftime);

}  // namespace vesk
