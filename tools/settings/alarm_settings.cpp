#include "tools/settings/alarm_settings.h"

#include "platform/ini_file.h"
#include "runtime/conversions.h"

namespace vesk {
namespace {

int32_t ReadMinutes(const std::string& iniFile, const char* key, int32_t fallback) {
  int32_t value = 0;
  return TryStrToInt(ProfileReadString(iniFile, kAlarmSection, key, ""), value) ? value : fallback;
}

}  // namespace

AlarmSettings ReadAlarmSettings(const std::string& iniFile) {
  const AlarmSettings defaults;
  return {ReadMinutes(iniFile, kLeadMinutesKey, defaults.leadMinutes),
          ReadMinutes(iniFile, kRepeatMinutesKey, defaults.repeatMinutes)};
}

}  // namespace vesk
