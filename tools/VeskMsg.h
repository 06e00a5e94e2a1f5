// The names of the system's two registered window messages and the
// identifier of "VeskTools" that the library registered at its start. The
// reminder program has a copy of this module with the same names.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

// Posted to the host when a window of the library closed.
inline constexpr std::string_view kVeskToolsMessageName = "VeskTools";
// Makes the reminder program quit.
inline constexpr std::string_view kAlarmAusMessageName = "AlarmAus";

// What registering kVeskToolsMessageName returned; 0 until then, and 0
// when the registration failed.
extern uint16_t VeskToolsMessage;

// Registers kVeskToolsMessageName and keeps the identifier in
// VeskToolsMessage; run once at the library's start.
void RegisterVeskToolsMessage();

}  // namespace vesk
