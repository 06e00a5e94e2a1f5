// The timer interval of the reminder check. An interval below one minute, or
// one whose milliseconds do not fit the timer, would check without pause, so
// the default of 10 minutes is taken instead.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

struct CheckInterval {
  int32_t milliseconds = 0;
  std::string warning;  // empty unless the default was taken
};

CheckInterval CheckIntervalOf(int32_t repeatMinutes);

}  // namespace vesk
