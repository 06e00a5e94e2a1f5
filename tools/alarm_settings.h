// The reminder program's two settings as they are stored: section "Alarm"
// of the host's INI file, keys "Vorwarnzeit" and "Alarmwiederholung". The
// settings window shows and writes them, the host hands them to alarm.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

struct AlarmSettings {
  int32_t leadMinutes = 120;
  int32_t repeatMinutes = 10;
  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

inline constexpr const char* kAlarmSection = "Alarm";
inline constexpr const char* kLeadMinutesKey = "Vorwarnzeit";
inline constexpr const char* kRepeatMinutesKey = "Alarmwiederholung";

// The stored values; a key that is missing or not a whole number keeps its
// default, the one that the reminder program has too.
AlarmSettings ReadAlarmSettings(const std::string& iniFile);

}  // namespace vesk
