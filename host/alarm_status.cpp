#include "host/alarm_status.h"

namespace vesk {
namespace {

std::string EveryText(int32_t minutes) { return minutes == 1 ? "jede Minute" : "alle " + MinutesText(minutes); }

}  // namespace

std::string MinutesText(int32_t minutes) { return std::to_string(minutes) + (minutes == 1 ? " Minute" : " Minuten"); }

std::string AlarmRunningText(const AlarmSettings& settings) {
  return "alarm läuft: Vorwarnzeit " + MinutesText(settings.leadMinutes) + ", Wiederholung " +
         EveryText(settings.repeatMinutes);
}

}  // namespace vesk
