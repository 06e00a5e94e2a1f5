// The reminder program's two settings as the host keeps them: section
// "Alarm" of its INI file, keys "Vorwarnzeit" and "Alarmwiederholung".
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

struct AlarmSettings {
  int32_t leadMinutes = 120;
  int32_t repeatMinutes = 10;
  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

// The stored values; a key that is missing or not a whole number keeps its
// default, the one that the reminder program has too.
AlarmSettings ReadAlarmSettings(const std::string& iniFile);

}  // namespace vesk
