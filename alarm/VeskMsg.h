// The names of the system's two registered window messages and the
// identifier that the reminder program registered at start. The library has
// a copy of this module with the same names.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

// Posted to the host when a window of the library closed.
inline constexpr std::string_view kVeskToolsMessageName = "VeskTools";
// Makes the reminder program quit.
inline constexpr std::string_view kAlarmAusMessageName = "AlarmAus";

// What registering kAlarmAusMessageName returned; 0 until then.
extern uint16_t AlarmAusMessage;

}  // namespace vesk
