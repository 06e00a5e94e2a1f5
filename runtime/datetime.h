// Dates and times: TDateTime (days since 30 December 1899, the time of day as
// fraction), the millisecond time stamp, the clock, and formatting and
// parsing in the regional formats.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vesk {

using TDateTime = double;

// Days since 1 January of year 1, plus one; milliseconds since midnight.
struct TTimeStamp {
  int32_t time = 0;
  int32_t date = 0;
};

inline constexpr int32_t kDateDelta = 693594;  // days from 1.1.0001 to 30.12.1899
inline constexpr double kMSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);  // EConvertError when invalid
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // EConvertError when invalid
// A day number and a time of day (0 <= time < 1) as one value; before
// 30.12.1899 the time is subtracted, since the fraction counts forward from
// the day's midnight whatever the sign.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
// Year, month and day 0 for values outside 1.1.0001 to 31.12.9999.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// Rounded to the millisecond. A value that is not finite or lies outside the
// years 1 to 9999 gives the zero stamp; so does a negative or non-finite
// millisecond count.
TTimeStamp DateTimeToTimeStamp(TDateTime value);
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);
double TimeStampToMSecs(const TTimeStamp& stamp);
TTimeStamp MSecsToTimeStamp(double msecs);

// The clock. Now() is the system clock unless a test has set its own.
TDateTime Now();
TDateTime Date();                                           // today at 0:00
TDateTime Time();                                           // time of day only
void SetClockForTesting(std::function<TDateTime()> clock);  // empty: system clock

// Formats with the letters d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy
// h hh n nn s ss z zzz t tt c am/pm a/p ampm, "/" and ":" for the regional
// separators, quoted text as it stands; "mm" right after "h"/"hh" means minutes.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);      // short date format
std::string TimeToStr(TDateTime value);      // long time format
std::string DateTimeToStr(TDateTime value);  // short date, then long time unless 0:00

// Parsing in the order (day, month, year) and separator of the short date
// format; two-digit years within the century window; a missing year is the
// current one. Times: hours, minutes, optional seconds joined by the time
// separator (the seconds may carry a fraction after the decimal separator,
// read to the millisecond), with the AM/PM designators (the regional ones or
// "AM"/"PM", any case) before or after them. Blanks around the parts are
// allowed.
bool TryStrToDate(std::string_view text, TDateTime& value);
bool TryStrToTime(std::string_view text, TDateTime& value);
// A date with an optional time after it, or a time alone (on day 0).
bool TryStrToDateTime(std::string_view text, TDateTime& value);
TDateTime StrToDate(std::string_view text);      // EConvertError kSInvalidDate
TDateTime StrToTime(std::string_view text);      // EConvertError kSInvalidTime
TDateTime StrToDateTime(std::string_view text);  // EConvertError kSInvalidDateTime

}  // namespace vesk
