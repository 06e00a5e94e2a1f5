#include "host/alarm_settings.h"

#include <charconv>

#include "platform/ini_file.h"

namespace vesk {
namespace {

int32_t ReadMinutes(const std::string& iniFile, const char* key, int32_t fallback) {
  const std::string text = ProfileReadString(iniFile, "Alarm", key, "");
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : fallback;
}

}  // namespace

AlarmSettings ReadAlarmSettings(const std::string& iniFile) {
  const AlarmSettings defaults;
  return {ReadMinutes(iniFile, "Vorwarnzeit", defaults.leadMinutes),
          ReadMinutes(iniFile, "Alarmwiederholung", defaults.repeatMinutes)};
}

}  // namespace vesk
