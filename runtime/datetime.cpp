#include "runtime/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::month_day_last;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;
using std::chrono::year_month_day_last;

constexpr int64_t kMSecs = 86400000;
constexpr int kDayZero = sys_days{year{1899} / 12 / 30}.time_since_epoch().count();
// TDateTime day numbers of 1.1.0001 and of the day after 31.12.9999.
constexpr int kFirstDay = sys_days{year{1} / 1 / 1}.time_since_epoch().count() - kDayZero;
constexpr int kEndDay = sys_days{year{10000} / 1 / 1}.time_since_epoch().count() - kDayZero;

}  // namespace

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  if (m < 1 || m > 12) return 0;
  const year_month_day_last last{year{y}, month_day_last{month(m)}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

bool TryEncodeDate(int y, int m, int d, TDateTime& result) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  const sys_days date{year{y} / month(m) / day(d)};
  result = static_cast<TDateTime>(date.time_since_epoch().count() - kDayZero);
  return true;
}

TDateTime EncodeDate(int y, int m, int d) {
  TDateTime result = 0;
  if (!TryEncodeDate(y, m, d, result)) throw EConvertError(std::string(kSDateEncodeError));
  return result;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) {
    return false;
  }
  result = (((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime result = 0;
  if (!TryEncodeTime(hour, min, sec, msec, result)) {
    throw EConvertError(std::string(kSTimeEncodeError));
  }
  return result;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

void DecodeDate(TDateTime value, int& y, int& m, int& d) {
  const TTimeStamp stamp = DateTimeToTimeStamp(value);
  y = m = d = 0;
  if (stamp.date <= 0) return;
  const year_month_day date{sys_days{days{stamp.date - kDateDelta + kDayZero}}};
  y = static_cast<int>(date.year());
  m = static_cast<int>(static_cast<unsigned>(date.month()));
  d = static_cast<int>(static_cast<unsigned>(date.day()));
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  int32_t time = DateTimeToTimeStamp(value).time;
  msec = time % 1000;
  time /= 1000;
  sec = time % 60;
  time /= 60;
  min = time % 60;
  hour = time / 60;
}

int DayOfWeek(TDateTime value) { return DateTimeToTimeStamp(value).date % 7 + 1; }

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  if (!std::isfinite(value) || value <= kFirstDay - 1 || value >= kEndDay) return {};
  // Rounding the whole value lets 23:59:59.9996 carry into the next day;
  // the remainder keeps the sign of a day before 1899, hence its magnitude.
  const int64_t msecs = std::llround(value * kMSecsPerDay);
  return {static_cast<int32_t>(std::llabs(msecs % kMSecs)), static_cast<int32_t>(msecs / kMSecs + kDateDelta)};
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp) {
  return ComposeDateTime(stamp.date - kDateDelta, stamp.time / kMSecsPerDay);
}

double TimeStampToMSecs(const TTimeStamp& stamp) { return static_cast<double>(stamp.date) * kMSecsPerDay + stamp.time; }

TTimeStamp MSecsToTimeStamp(double msecs) {
  constexpr double kLimit = static_cast<double>(INT32_MAX) * kMSecsPerDay;
  if (!std::isfinite(msecs) || msecs < 0 || msecs >= kLimit) return {};
  const int64_t whole = std::llround(msecs);
  return {static_cast<int32_t>(whole % kMSecs), static_cast<int32_t>(whole / kMSecs)};
}

}  // namespace vesk
