#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "runtime/datetime.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

struct Civil {
  int year, month, day, hour, minute, second, msec;
  bool operator==(const Civil&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Civil& c) {
  return out << c.day << '.' << c.month << '.' << c.year << ' ' << c.hour << ':' << c.minute << ':' << c.second << '.'
             << c.msec;
}

Civil Decode(TDateTime value) {
  Civil c{};
  DecodeDate(value, c.year, c.month, c.day);
  DecodeTime(value, c.hour, c.minute, c.second, c.msec);
  return c;
}

TEST(Calendar, DayNumbersOfKnownDates) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2026, 12, 8), 46364);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(Decode(46364), (Civil{2026, 12, 8, 0, 0, 0, 0}));
  EXPECT_EQ(Decode(-693593), (Civil{1, 1, 1, 0, 0, 0, 0}));
}

TEST(Calendar, LeapYearsAndInvalidDates) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2026));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2026, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(DaysInMonth(2026, 13), 0);
  TDateTime value = 0;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, value));
  EXPECT_EQ(Decode(value), (Civil{2024, 2, 29, 0, 0, 0, 0}));
  value = 7;
  for (auto [y, m, d] : {std::tuple{2026, 2, 29},
                         {2026, 2, 30},
                         {1900, 2, 29},
                         {2026, 4, 31},
                         {2026, 1, 0},
                         {2026, 0, 1},
                         {2026, 13, 1},
                         {0, 1, 1},
                         {10000, 1, 1}}) {
    EXPECT_FALSE(TryEncodeDate(y, m, d, value)) << d << '.' << m << '.' << y;
  }
  EXPECT_EQ(value, 7);
  EXPECT_THROW(EncodeDate(2026, 2, 30), EConvertError);
}

TEST(Calendar, TimesOfDay) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(Decode(EncodeTime(23, 59, 59, 999)), (Civil{1899, 12, 30, 23, 59, 59, 999}));
  TDateTime value = 0;
  for (auto [h, m, s, ms] :
       {std::tuple{24, 0, 0, 0}, {12, 60, 0, 0}, {12, 0, 60, 0}, {12, 0, 0, 1000}, {-1, 0, 0, 0}, {0, -1, 0, 0}}) {
    EXPECT_FALSE(TryEncodeTime(h, m, s, ms, value)) << h << ':' << m << ':' << s << '.' << ms;
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(Calendar, DaysBefore1899CountTheTimeForward) {
  // -1.25 is 29.12.1899 at 6:00: the day is the whole part, the time the
  // magnitude of the fraction.
  EXPECT_EQ(Decode(-1.25), (Civil{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
  EXPECT_EQ(ComposeDateTime(EncodeDate(2026, 12, 8), 0.5), 46364.5);
  const TDateTime old = ComposeDateTime(EncodeDate(1850, 7, 14), EncodeTime(18, 15, 30, 0));
  EXPECT_EQ(Decode(old), (Civil{1850, 7, 14, 18, 15, 30, 0}));
}

TEST(Calendar, RoundingCarriesIntoTheNextDay) {
  const TDateTime almost = EncodeDate(2026, 12, 31) + (kMSecsPerDay - 0.4) / kMSecsPerDay;
  EXPECT_EQ(Decode(almost), (Civil{2027, 1, 1, 0, 0, 0, 0}));
}

TEST(Calendar, ValuesOutsideTheYearsDecodeAsZero) {
  for (TDateTime value : {double{NAN}, double{INFINITY}, 1e9, -1e9, -693594.5}) {
    EXPECT_EQ(Decode(value), (Civil{0, 0, 0, 0, 0, 0, 0})) << value;
  }
}

TEST(Calendar, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3);  // a Tuesday
  EXPECT_EQ(DayOfWeek(0), 7);                        // 30.12.1899, a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 6) + 0.9), 1);
}

TEST(TimeStamp, FirstDayAndDayZero) {
  const TTimeStamp first = DateTimeToTimeStamp(EncodeDate(1, 1, 1));
  EXPECT_EQ(first.date, 1);
  EXPECT_EQ(first.time, 0);
  EXPECT_EQ(TimeStampToMSecs(first), 86400000.0);
  const TTimeStamp zero = DateTimeToTimeStamp(0);
  EXPECT_EQ(zero.date, kDateDelta);
  EXPECT_EQ(zero.time, 0);
  EXPECT_EQ(TimeStampToDateTime(zero), 0);
}

TEST(TimeStamp, DateWithTimeRoundTrips) {
  const TDateTime value = EncodeDate(2026, 12, 8) + EncodeTime(14, 30, 15, 500);
  const TTimeStamp stamp = DateTimeToTimeStamp(value);
  EXPECT_EQ(stamp.date, 46364 + kDateDelta);
  EXPECT_EQ(stamp.time, 52215500);
  EXPECT_NEAR(TimeStampToDateTime(stamp), value, 1e-9);
  const double msecs = TimeStampToMSecs(stamp);
  EXPECT_EQ(msecs, (46364.0 + kDateDelta) * 86400000.0 + 52215500);
  const TTimeStamp back = MSecsToTimeStamp(msecs);
  EXPECT_EQ(back.date, stamp.date);
  EXPECT_EQ(back.time, stamp.time);
}

TEST(TimeStamp, NegativeDayNumbers) {
  const TTimeStamp stamp = DateTimeToTimeStamp(-1.25);
  EXPECT_EQ(stamp.date, kDateDelta - 1);
  EXPECT_EQ(stamp.time, 21600000);
  EXPECT_EQ(TimeStampToDateTime(stamp), -1.25);
}

TEST(TimeStamp, MillisecondsRoundAndBadCountsGiveZero) {
  TTimeStamp stamp = MSecsToTimeStamp(86400000.4);
  EXPECT_EQ(stamp.date, 1);
  EXPECT_EQ(stamp.time, 0);
  stamp = MSecsToTimeStamp(86400000.6);
  EXPECT_EQ(stamp.time, 1);
  for (double bad : {-1.0, double{NAN}, double{INFINITY}, 1e30}) {
    stamp = MSecsToTimeStamp(bad);
    EXPECT_EQ(stamp.date, 0) << bad;
    EXPECT_EQ(stamp.time, 0) << bad;
  }
  stamp = DateTimeToTimeStamp(NAN);
  EXPECT_EQ(stamp.date, 0);
  EXPECT_EQ(stamp.time, 0);
}

TEST(Clock, TestClockAndSystemClock) {
  const TDateTime fixed = EncodeDate(2026, 12, 8) + EncodeTime(14, 30, 0, 0);
  SetClockForTesting([fixed] { return fixed; });
  EXPECT_EQ(Now(), fixed);
  EXPECT_EQ(Date(), 46364);
  EXPECT_EQ(Time(), EncodeTime(14, 30, 0, 0));
  SetClockForTesting({});
  const TDateTime now = Now();
  EXPECT_NE(now, fixed);
  EXPECT_GT(now, EncodeDate(2024, 1, 1));
  EXPECT_GE(Time(), 0);
  EXPECT_LT(Time(), 1);
}

// The user moves the machine to another zone while a program runs: the
// next reading of the clock is in the new zone.
TEST(Clock, AChangedZoneCountsAtTheNextReading) {
  const char* old = std::getenv("TZ");
  const std::string saved = old != nullptr ? old : "";
  setenv("TZ", "UTC", 1);
  const TDateTime utc = Now();
  setenv("TZ", "Asia/Tokyo", 1);  // nine hours ahead, no summer time
  const TDateTime tokyo = Now();
  if (old != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  EXPECT_NEAR((tokyo - utc) * 24, 9.0, 0.01);
}

}  // namespace
}  // namespace vesk
