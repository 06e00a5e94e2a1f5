#include "platform/regional_settings.h"

#include <langinfo.h>

#include <locale.h>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/strftime_format.h"

namespace vesk {
namespace {

std::atomic<bool> multiByteCodePage{false};

// "C", "POSIX" and "C.UTF-8" carry no regional conventions of their own.
// The locale of the calling thread, which is the process's unless the thread
// has one of its own.
bool IsCLocale(int category) {
  const char* name = nl_langinfo(NL_LOCALE_NAME(category));
  std::string_view locale = name != nullptr && *name != '\0' ? name : "C";
  return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// The user's locale as the environment names it (LC_ALL, LC_*, LANG), each
// category on its own: one that names no installed locale stays "C".
locale_t UserLocale() {
  locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
  for (int mask : {LC_CTYPE_MASK, LC_NUMERIC_MASK, LC_TIME_MASK}) {
    if (locale == nullptr) break;
    // newlocale frees the base only when it succeeds.
    if (locale_t with = newlocale(mask, "", locale)) locale = with;
  }
  return locale;
}

// A separator of one byte; a blank for the multi-byte spaces that some
// locales group digits with; nothing for anything else.
std::optional<char> SingleByte(std::string_view text) {
  if (text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80) return text[0];
  if (text == "\xC2\xA0" || text == "\xE2\x80\xAF") return ' ';
  return std::nullopt;
}

void ReadTimeSettings(FormatSettings& settings) {
  if (std::optional<DateFormat> date = TranslateDateFormat(nl_langinfo(D_FMT))) {
    settings.shortDateFormat = date->format;
    settings.dateSeparator = date->separator;
  }
  if (std::optional<TimeFormat> time = TranslateTimeFormat(nl_langinfo(T_FMT))) {
    settings.longTimeFormat = time->longFormat;
    settings.shortTimeFormat = time->shortFormat;
    settings.timeSeparator = time->separator;
    if (time->twelveHour) {
      std::string am = nl_langinfo(AM_STR);
      std::string pm = nl_langinfo(PM_STR);
      settings.timeAMString = am.empty() ? "AM" : am;
      settings.timePMString = pm.empty() ? "PM" : pm;
    }
  }
}

void ReadNumberSettings(FormatSettings& settings) {
  std::optional<char> decimal = SingleByte(nl_langinfo(RADIXCHAR));
  std::optional<char> thousands = SingleByte(nl_langinfo(THOUSEP));
  settings.decimalSeparator = decimal.value_or('.');
  settings.thousandSeparator = thousands.value_or(' ');
  if (settings.thousandSeparator == settings.decimalSeparator) {
    settings.thousandSeparator = settings.decimalSeparator == '.' ? ',' : '.';
  }
}

bool MultiByteLocale() {
  std::string_view codeset = nl_langinfo(CODESET);
  return MB_CUR_MAX > 1 || codeset == "UTF-8";
}

}  // namespace

FormatSettings ReadRegionalSettings() {
  FormatSettings settings;
  if (!IsCLocale(LC_TIME)) ReadTimeSettings(settings);
  if (!IsCLocale(LC_NUMERIC)) ReadNumberSettings(settings);
  return settings;
}

void LoadRegionalSettings() {
  SetFormatSettings(ReadRegionalSettings());
  multiByteCodePage = MultiByteLocale();
}

void LoadUserRegionalSettings() {
  const locale_t user = UserLocale();
  if (user == nullptr) return LoadRegionalSettings();
  const locale_t previous = uselocale(user);
  LoadRegionalSettings();
  uselocale(previous);
  freelocale(user);
}

bool IsMultiByteCodePage() { return multiByteCodePage; }

void SetMultiByteCodePageForTesting(bool multi_byte) { multiByteCodePage = multi_byte; }

// Text inside the system is UTF-8, so the multi-byte code page is UTF-8.
bool IsLeadByte(unsigned char byte) { return multiByteCodePage && byte >= 0xC2 && byte <= 0xF4; }

int CharLength(const char* text, int available) {
  if (available <= 0) return 0;
  auto byte = [text](int i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  if (!IsLeadByte(lead)) return 1;
  int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (available < length) return 1;
  // The second byte's range excludes overlong forms, surrogates and code
  // points above U+10FFFF.
  unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (byte(1) < low || byte(1) > high) return 1;
  for (int i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 1;
  }
  return length;
}

}  // namespace vesk
