#include <gtest/gtest.h>

#include "reader_checks.h"
#include "runtime/datetime.h"
#include "runtime_fixture.h"

namespace vesk {
namespace {

// The fixture's clock stands at 8.12.2026: two-digit years lie in 1976..2075.
using DateParse = RuntimeTest;
using TimeParse = RuntimeTest;
using DateTimeParse = RuntimeTest;
using RoundTrip = RuntimeTest;

TDateTime ReadDate(std::string_view text) { return Accepted<TDateTime>(TryStrToDate, text); }
TDateTime ReadTime(std::string_view text) { return Accepted<TDateTime>(TryStrToTime, text); }

void ExpectNoDate(std::initializer_list<std::string_view> texts) { ExpectRefused<TDateTime>(TryStrToDate, texts); }

void ExpectNoTime(std::initializer_list<std::string_view> texts) { ExpectRefused<TDateTime>(TryStrToTime, texts); }

TEST_F(DateParse, GermanOrderAndBlanks) {
  EXPECT_EQ(ReadDate("08.12.2026"), EncodeDate(2026, 12, 8));
  EXPECT_EQ(ReadDate("8.12.2026"), EncodeDate(2026, 12, 8));
  EXPECT_EQ(ReadDate("  8. 12. 2026  "), EncodeDate(2026, 12, 8));
  EXPECT_EQ(ReadDate("1.1.0001"), EncodeDate(1, 1, 1));
  EXPECT_EQ(ReadDate("24.12"), EncodeDate(2026, 12, 24)) << "no year: this year";
}

TEST_F(DateParse, TwoDigitYearsInTheCenturyWindow) {
  EXPECT_EQ(ReadDate("24.12.00"), EncodeDate(2000, 12, 24));
  EXPECT_EQ(ReadDate("24.12.75"), EncodeDate(2075, 12, 24));
  EXPECT_EQ(ReadDate("24.12.76"), EncodeDate(1976, 12, 24));
  EXPECT_EQ(ReadDate("24.12.99"), EncodeDate(1999, 12, 24));
  EXPECT_EQ(ReadDate("24.12.5"), EncodeDate(2005, 12, 24));
  EXPECT_EQ(ReadDate("24.12.075"), EncodeDate(75, 12, 24)) << "three digits are taken as written";
  FormatSettings settings = GetFormatSettings();
  settings.twoDigitYearCenturyWindow = 0;  // the current century
  SetFormatSettings(settings);
  EXPECT_EQ(ReadDate("24.12.99"), EncodeDate(2099, 12, 24));
}

TEST_F(DateParse, LeapDaysAndInvalidDates) {
  EXPECT_EQ(ReadDate("29.02.2024"), EncodeDate(2024, 2, 29));
  EXPECT_EQ(ReadDate("29.2.00"), EncodeDate(2000, 2, 29));
  ExpectNoDate({"29.02.2026", "30.02.2026", "29.02.1900", "31.04.2026", "00.01.2026", "1.13.2026", "1.0.2026"});
}

TEST_F(DateParse, RefusesForeignSeparatorsAndStrayText) {
  ExpectNoDate({"", "  ", "24", "24.", "24.12.", "24/12/2026", "24-12-2026", "24.12.2026x", "24.12.2026.",
                "24.12.20260", "x24.12.2026", "24.12.2026 14:30", "-1.12.2026", "24..12.2026"});
  ExpectConvertError([] { StrToDate("30.02.2026"); }, "'30.02.2026' ist kein gültiges Datum");
}

TEST_F(DateParse, OrderAndSeparatorFromTheShortDateFormat) {
  FormatSettings settings = GetFormatSettings();
  settings.shortDateFormat = "yyyy-mm-dd";  // a separator other than the regional one
  SetFormatSettings(settings);
  EXPECT_EQ(ReadDate("2026-12-08"), EncodeDate(2026, 12, 8));
  EXPECT_EQ(ReadDate("12-08"), EncodeDate(2026, 12, 8)) << "month before day";
  ExpectNoDate({"08.12.2026", "2026-13-08"});
  UseUsSettings();
  EXPECT_EQ(ReadDate("12/8/2026"), EncodeDate(2026, 12, 8));
  EXPECT_EQ(ReadDate("2/29/24"), EncodeDate(2024, 2, 29));
  EXPECT_EQ(ReadDate("12/24"), EncodeDate(2026, 12, 24));
  ExpectNoDate({"24/12/2026", "8.12.2026"});
}

TEST_F(TimeParse, WithAndWithoutSeconds) {
  EXPECT_EQ(ReadTime("14:30"), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(ReadTime("9:05:07"), EncodeTime(9, 5, 7, 0));
  EXPECT_EQ(ReadTime(" 00:00:00 "), 0);
  EXPECT_EQ(ReadTime("23:59:59"), EncodeTime(23, 59, 59, 0));
  EXPECT_EQ(ReadTime("14:30:15,250"), EncodeTime(14, 30, 15, 250));
  EXPECT_EQ(ReadTime("14:30:15,5"), EncodeTime(14, 30, 15, 500));
  ExpectNoTime({"", "14", "14:", "14:30:", "24:00", "14:60", "14:30:60", "14.30", "14:30:15,", "14:30:15,1234",
                "14:30 Uhr", "-1:30", "14:30:15:00", "14:30,5"});
  ExpectConvertError([] { StrToTime("25:00"); }, "'25:00' ist keine gültige Uhrzeit");
}

TEST_F(TimeParse, AmPmDesignators) {
  EXPECT_EQ(ReadTime("2:30 PM"), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(ReadTime("2:30pm"), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(ReadTime("2:30:10 am"), EncodeTime(2, 30, 10, 0));
  EXPECT_EQ(ReadTime("12:00 AM"), 0) << "12 AM is midnight";
  EXPECT_EQ(ReadTime("12:30:00 AM"), EncodeTime(0, 30, 0, 0));
  EXPECT_EQ(ReadTime("12:00 PM"), 0.5) << "12 PM is noon";
  EXPECT_EQ(ReadTime("PM 2:30"), EncodeTime(14, 30, 0, 0));
  ExpectNoTime({"0:30 AM", "13:00 PM", "2:30 PM PM", "AM 2:30 PM", "2:30 P"});
  FormatSettings settings = GetFormatSettings();
  settings.timeAMString = "vorm.";
  settings.timePMString = "nachm.";
  SetFormatSettings(settings);
  EXPECT_EQ(ReadTime("3:15 nachm."), EncodeTime(15, 15, 0, 0));
  EXPECT_EQ(ReadTime("3:15 VORM."), EncodeTime(3, 15, 0, 0));
}

TEST_F(DateTimeParse, DateWithOptionalTimeOrTimeAlone) {
  auto read = [](std::string_view text) { return Accepted<TDateTime>(TryStrToDateTime, text); };
  EXPECT_EQ(read("24.12.2000 18:30"), EncodeDate(2000, 12, 24) + EncodeTime(18, 30, 0, 0));
  EXPECT_EQ(read("24.12.2000"), EncodeDate(2000, 12, 24));
  EXPECT_EQ(read("29.12.1899 06:00"), -1.25);
  EXPECT_EQ(read("14:30"), EncodeTime(14, 30, 0, 0));
  ExpectRefused<TDateTime>(TryStrToDateTime, {"", "x", "24.12.2000 25:00", "24.12.2000 18", "24.12.2000x",
                                              "30.02.2026 10:00", "24.12.2000 18:30 x"});
  ExpectConvertError([] { StrToDateTime("x"); }, "'x' ist keine gültige Datums- und Uhrzeitangabe");
}

// What the regional formatting writes, the parsers read back.
void ExpectRoundTrips() {
  for (TDateTime date : {EncodeDate(2026, 12, 8), EncodeDate(2024, 2, 29), EncodeDate(1, 1, 1),
                         EncodeDate(9999, 12, 31), EncodeDate(1850, 7, 14)}) {
    EXPECT_EQ(StrToDate(DateToStr(date)), date) << DateToStr(date);
  }
  for (TDateTime time : {0.0, EncodeTime(0, 0, 1, 0), EncodeTime(11, 59, 59, 0), 0.5, EncodeTime(12, 0, 1, 0),
                         EncodeTime(23, 59, 59, 0)}) {
    EXPECT_EQ(StrToTime(TimeToStr(time)), time) << TimeToStr(time);
  }
  for (TDateTime value : {EncodeDate(2026, 12, 8) + EncodeTime(14, 30, 15, 0), EncodeDate(2026, 12, 8), -1.25}) {
    EXPECT_EQ(StrToDateTime(DateTimeToStr(value)), value) << DateTimeToStr(value);
  }
}

TEST_F(RoundTrip, GermanSettings) { ExpectRoundTrips(); }

TEST_F(RoundTrip, UsSettings) {
  UseUsSettings();
  EXPECT_EQ(TimeToStr(0), "12:00:00 AM");
  ExpectRoundTrips();
}

TEST_F(RoundTrip, IsoLikeSettings) {
  FormatSettings settings = GetFormatSettings();
  settings.shortDateFormat = "yyyy/mm/dd";
  settings.dateSeparator = '-';
  settings.longTimeFormat = "hh.nn.ss";
  settings.timeSeparator = '.';
  SetFormatSettings(settings);
  EXPECT_EQ(DateToStr(EncodeDate(2026, 12, 8)), "2026-12-08");
  ExpectRoundTrips();
}

}  // namespace
}  // namespace vesk
