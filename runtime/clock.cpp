// The system clock in local time, replaceable by tests.
#include <time.h>

#include <algorithm>
#include <utility>

#include "runtime/datetime.h"

namespace vesk {
namespace {

std::function<TDateTime()>& TestClock() {
  static std::function<TDateTime()> clock;
  return clock;
}

TDateTime SystemNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // localtime_r keeps the zone it read first; a TZ changed since counts.
  tzset();
  tm local{};
  localtime_r(&now.tv_sec, &local);
  // A leap second shows as :59.
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(now.tv_nsec / 1000000));
}

}  // namespace

TDateTime Now() { return TestClock() ? TestClock()() : SystemNow(); }

TDateTime Date() { return DateTimeToTimeStamp(Now()).date - kDateDelta; }

TDateTime Time() { return DateTimeToTimeStamp(Now()).time / kMSecsPerDay; }

void SetClockForTesting(std::function<TDateTime()> clock) { TestClock() = std::move(clock); }

}  // namespace vesk
