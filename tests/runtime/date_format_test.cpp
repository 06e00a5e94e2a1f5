#include <gtest/gtest.h>

#include "runtime/datetime.h"
#include "runtime_fixture.h"

namespace vesk {
namespace {

using DateFormat = RuntimeTest;

const TDateTime kAfternoon = EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 9, 5);

TEST_F(DateFormat, NumbersAndNames) {
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy", kAfternoon), "08.12.2026");
  EXPECT_EQ(FormatDateTime("d.m.yy", kAfternoon), "8.12.26");
  EXPECT_EQ(FormatDateTime("d.m.yy", EncodeDate(2005, 3, 1)), "1.3.05");
  EXPECT_EQ(FormatDateTime("dddd, d. mmmm yyyy", kAfternoon), "Dienstag, 8. Dezember 2026");
  EXPECT_EQ(FormatDateTime("ddd, d. mmm", EncodeDate(2026, 3, 1)), "So, 1. Mär");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(1, 1, 1)), "0001");
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn", -1.25), "29.12.1899 06:00");
}

TEST_F(DateFormat, MinutesAfterHoursAndMonthsOtherwise) {
  EXPECT_EQ(FormatDateTime("hh:mm", kAfternoon), "14:05");
  EXPECT_EQ(FormatDateTime("h mm", kAfternoon), "14 05");
  EXPECT_EQ(FormatDateTime("mm", kAfternoon), "12");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:mm", kAfternoon), "2026-12-08 14:05");
  EXPECT_EQ(FormatDateTime("hh:nn dd.mm", kAfternoon), "14:05 08.12");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", kAfternoon), "14:05:09");
  EXPECT_EQ(FormatDateTime("h:n:s", EncodeTime(7, 3, 2, 0)), "7:3:2");
  EXPECT_EQ(FormatDateTime("ss.z zzz", kAfternoon), "09.5 005");
}

TEST_F(DateFormat, TwelveHourClock) {
  EXPECT_EQ(FormatDateTime("h:nn am/pm", kAfternoon), "2:05 pm");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", EncodeTime(0, 30, 0, 0)), "12:30 AM");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", EncodeTime(12, 0, 0, 0)), "12:00 PM");
  EXPECT_EQ(FormatDateTime("hh:nn a/p", EncodeTime(11, 59, 0, 0)), "11:59 a");
  EXPECT_EQ(FormatDateTime("hh:nn ampm", kAfternoon), "02:05 ") << "German: no designators";
  UseUsSettings();
  EXPECT_EQ(FormatDateTime("h:nn ampm", kAfternoon), "2:05 PM");
  EXPECT_EQ(FormatDateTime("h:nn ampm", EncodeTime(0, 1, 0, 0)), "12:01 AM");
}

TEST_F(DateFormat, SeparatorsQuotesAndNestedFormats) {
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", kAfternoon), "08.12.2026");
  EXPECT_EQ(FormatDateTime("'Heute ist' dd\"/\"mm", kAfternoon), "Heute ist 08/12");
  EXPECT_EQ(FormatDateTime("hh 'Uhr", kAfternoon), "14 Uhr") << "an open quote runs to the end";
  EXPECT_EQ(FormatDateTime("c", kAfternoon), "08.12.2026 14:05:09");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 12, 8)), "08.12.2026");
  EXPECT_EQ(FormatDateTime("t", kAfternoon), "14:05");
  EXPECT_EQ(FormatDateTime("ddddd", kAfternoon), "08.12.2026");
  FormatSettings settings = GetFormatSettings();
  settings.timeSeparator = '.';
  settings.dateSeparator = '-';
  settings.shortDateFormat = "c";  // names itself: expanded once, no endless recursion
  SetFormatSettings(settings);
  EXPECT_EQ(FormatDateTime("hh:nn", kAfternoon), "14.05");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", kAfternoon), "2026-12-08");
  EXPECT_EQ(DateToStr(kAfternoon), " ");
}

TEST_F(DateFormat, RegionalTexts) {
  EXPECT_EQ(DateToStr(kAfternoon), "08.12.2026");
  EXPECT_EQ(TimeToStr(kAfternoon), "14:05:09");
  EXPECT_EQ(DateTimeToStr(kAfternoon), "08.12.2026 14:05:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 8)), "08.12.2026");
  UseUsSettings();
  EXPECT_EQ(DateToStr(kAfternoon), "12/8/2026");
  EXPECT_EQ(TimeToStr(kAfternoon), "2:05:09 PM");
  EXPECT_EQ(DateTimeToStr(kAfternoon), "12/8/2026 2:05:09 PM");
  EXPECT_EQ(FormatDateTime("dddddd", kAfternoon), "Dienstag, Dezember 8, 2026");
}

}  // namespace
}  // namespace vesk
