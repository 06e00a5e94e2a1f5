#include "runtime/format_settings.h"

namespace vesk {
namespace {

FormatSettings& Settings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace

const FormatSettings& GetFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) { Settings() = settings; }

}  // namespace vesk
