#include "alarm/VeskProc.h"

#include "platform/ini_file.h"
#include "runtime/conversions.h"
#include "runtime/value_after_equals.h"

namespace vesk {

int32_t OptionValue(std::string_view argument, int32_t fallback) {
  const size_t colon = argument.find(':');
  if (colon == std::string_view::npos) return fallback;
  int32_t value = 0;
  return TryStrToInt(argument.substr(colon + 1), value) ? value : fallback;
}

void ReadOptions(const std::vector<std::string>& arguments, AlarmSettings& settings) {
  for (const std::string& argument : arguments) {
    if (argument.size() < 2 || argument[0] != '-') continue;
    if (argument[1] == 'v') settings.leadMinutes = OptionValue(argument, settings.leadMinutes);
    if (argument[1] == 'w') settings.repeatMinutes = OptionValue(argument, settings.repeatMinutes);
  }
}

std::vector<TDateTime> LoadReminders(const std::string& file) {
  std::vector<TDateTime> times;
  for (const auto& [key, value] : ProfileReadSection(file, DateToStr(Date()))) {
    if (value.empty()) continue;
    times.push_back(StrToTime(ValueAfterEquals(key + "=" + value)));
  }
  return times;
}

}  // namespace vesk
