// The reminder program's two settings, with the defaults that hold wherever
// none is given, and how they are stored: section "Alarm" of the host's INI
// file, keys "Vorwarnzeit" and "Alarmwiederholung". The settings window shows
// and writes them, the host hands them to alarm as its options.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

struct AlarmSettings {
  int32_t leadMinutes = 120;   // from when on before an appointment it is asked about
  int32_t repeatMinutes = 10;  // between two checks
  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

inline constexpr const char* kAlarmSection = "Alarm";
inline constexpr const char* kLeadMinutesKey = "Vorwarnzeit";
inline constexpr const char* kRepeatMinutesKey = "Alarmwiederholung";

// The stored values; a key that is missing or not a whole number keeps its
// default.
AlarmSettings ReadAlarmSettings(const std::string& iniFile);

}  // namespace vesk
