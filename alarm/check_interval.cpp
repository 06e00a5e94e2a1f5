#include "alarm/check_interval.h"

#include <limits>

#include "runtime/conversions.h"

namespace vesk {
namespace {

constexpr int32_t kDefaultMinutes = 10;
constexpr int32_t kMSecsPerMinute = 60000;

}  // namespace

CheckInterval CheckIntervalOf(int32_t repeatMinutes) {
  if (repeatMinutes >= 1 && repeatMinutes <= std::numeric_limits<int32_t>::max() / kMSecsPerMinute) {
    return {repeatMinutes * kMSecsPerMinute, ""};
  }
  return {kDefaultMinutes * kMSecsPerMinute, "alarm: Wiederholungsintervall " + IntToStr(repeatMinutes) +
                                                 " Minuten ist nicht verwendbar, es gilt " + IntToStr(kDefaultMinutes) +
                                                 " Minuten"};
}

}  // namespace vesk
