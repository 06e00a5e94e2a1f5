// What the host's status bar says about the running reminder program, in
// whole sentences: "1 Minute", "jede Minute", "alle 10 Minuten".
#pragma once

#include <cstdint>
#include <string>

#include "tools/settings/alarm_settings.h"

namespace vesk {

// "120 Minuten", "1 Minute".
std::string MinutesText(int32_t minutes);
// "alarm läuft: Vorwarnzeit 120 Minuten, Wiederholung alle 10 Minuten".
std::string AlarmRunningText(const AlarmSettings& settings);

}  // namespace vesk
