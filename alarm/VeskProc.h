// The reminder program's settings and reminder list: the command-line options
// (-v:<n> lead time, -w:<n> check interval, minutes) over the defaults of
// AlarmSettings, and today's reminder times from termine.sav.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/datetime.h"
#include "tools/settings/alarm_settings.h"

namespace vesk {

// The integer after the first ":" of the argument; fallback when there is no
// ":" or the text after it is not one whole 32-bit integer.
int32_t OptionValue(std::string_view argument, int32_t fallback);

// Applies the arguments (without the program name) in order: "-v..." sets
// the lead time, "-w..." the check interval; everything else is ignored.
void ReadOptions(const std::vector<std::string>& arguments, AlarmSettings& settings);

// Today's reminder times (fractions of a day) from the section named by
// today's short date, in file order; keys with empty values are skipped. A
// missing file or section gives an empty list; a value that is not a time
// raises EConvertError.
std::vector<TDateTime> LoadReminders(const std::string& file);

}  // namespace vesk
