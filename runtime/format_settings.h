// The regional formats that number and date conversions follow. The platform
// layer fills them from the user's locale at start; tests set them directly.
#pragma once

#include <array>
#include <string>

namespace vesk {

struct FormatSettings {
  // Format letters as FormatDateTime reads them (d, m, y; h, n, s; am/pm).
  std::string shortDateFormat = "dd.mm.yyyy";
  std::string longDateFormat = "dddd, d. mmmm yyyy";
  std::string shortTimeFormat = "hh:nn";
  std::string longTimeFormat = "hh:nn:ss";
  char dateSeparator = '.';
  char timeSeparator = ':';
  char decimalSeparator = ',';
  char thousandSeparator = '.';
  std::string timeAMString;  // empty: 24-hour clock
  std::string timePMString;
  // Two-digit years are taken within 50 years of the current year.
  int twoDigitYearCenturyWindow = 50;
  // Names for the format letters mmm, mmmm (January first) and ddd, dddd
  // (Sunday first).
  std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                                 "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  std::array<std::string, 12> longMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                                "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  std::array<std::string, 7> shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  std::array<std::string, 7> longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                             "Donnerstag", "Freitag", "Samstag"};
};

// The settings in force for the process (German defaults until set).
const FormatSettings& GetFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

}  // namespace vesk
