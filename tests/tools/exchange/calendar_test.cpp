// iCalendar: the export read back by libical itself and by the import, with
// its zone, duration, UID and reminder and its escaped and folded texts;
// events of other zones, UTC and whole days in local time; a weekly event
// over twelve months; broken files refused with their line.
#include <libical/ical.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/tools/exchange/sample_files.h"
#include "tools/exchange/calendar_file.h"
#include "tools/exchange/content_line_writer.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

constexpr const char* kBerlin = "Europe/Berlin";

AppointmentRecord Appointment(int y, int m, int d, std::optional<TDateTime> time, std::string ort,
                              std::string bemerkung = "") {
  AppointmentRecord a;
  a.Datum = EncodeDate(y, m, d);
  a.Uhrzeit = time;
  a.Ort = std::move(ort);
  a.Bemerkung = std::move(bemerkung);
  return a;
}

TEST(CalendarExport, LibicalAndTheImportReadItBack) {
  std::vector<AppointmentRecord> appointments = {
      Appointment(2026, 12, 24, EncodeTime(18, 30, 0, 0), "Bescherung, Wohnzimmer", "Geschenke; Kerzen\nNüsse"),
      Appointment(2027, 7, 1, std::nullopt, "Urlaub")};
  appointments[0].identity = 7;
  appointments[1].identity = 12;
  const std::string text = CalendarFromAppointments(appointments, {kBerlin, 45, "-abc@vesktools"});

  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(icalparser_parse_string(text.c_str()),
                                                                     icalcomponent_free);
  ASSERT_NE(calendar, nullptr);
  ASSERT_NE(icalcomponent_get_first_component(calendar.get(), ICAL_VTIMEZONE_COMPONENT), nullptr);
  icalcomponent* event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_NE(event, nullptr);
  EXPECT_STREQ(icalcomponent_get_uid(event), "termin-7-abc@vesktools");
  EXPECT_STREQ(icalcomponent_get_summary(event), "Bescherung, Wohnzimmer");
  EXPECT_STREQ(icalcomponent_get_description(event), "Geschenke; Kerzen\nNüsse");
  const icaltimetype start = icalcomponent_get_dtstart(event);
  EXPECT_EQ(start.hour, 18);
  EXPECT_EQ(start.minute, 30);
  ASSERT_NE(start.zone, nullptr);
  EXPECT_NE(std::string(icaltimezone_get_tzid(const_cast<icaltimezone*>(start.zone))).find(kBerlin), std::string::npos);
  const icaltimetype utc = icaltime_convert_to_zone(start, icaltimezone_get_utc_timezone());
  EXPECT_EQ(utc.hour, 17);  // CET is UTC+1 in December
  EXPECT_EQ(icaldurationtype_as_int(icalcomponent_get_duration(event)), 3600);
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  ASSERT_NE(alarm, nullptr);
  const icaltriggertype trigger =
      icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
  EXPECT_EQ(icaldurationtype_as_int(trigger.duration), -45 * 60);

  icalcomponent* day = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_NE(day, nullptr);
  EXPECT_TRUE(icalcomponent_get_dtstart(day).is_date);
  EXPECT_STREQ(icalcomponent_get_uid(day), "termin-12-abc@vesktools");

  std::vector<AppointmentRecord> back = AppointmentsFromCalendar(text, kBerlin, EncodeDate(2026, 12, 1));
  ASSERT_EQ(back.size(), 2u);
  for (size_t i = 0; i < back.size(); ++i) {
    back[i].identity = appointments[i].identity;
    back[i].line = 0;
    EXPECT_EQ(back[i], appointments[i]) << i;
  }
}

// The events' lines are written by hand: escapes, CRLF, and folding at 75
// bytes between whole UTF-8 characters, read back field by field.
TEST(CalendarExport, EscapedAndFoldedTextsReadBackTheSame) {
  std::vector<AppointmentRecord> appointments = {
      Appointment(2027, 3, 28, EncodeTime(9, 5, 0, 0), "Übergabe, Köln; " + std::string(30, 'x') + "äöüßÄÖÜ€ Straße",
                  "Pfad C:\\Daten\\neu; Liste a,b\r\nZweite\tZeile\x01 " + std::string(70, 'x') + "ä€ä€ä€ä€")};
  appointments[0].identity = 123456789;
  const std::string text = CalendarFromAppointments(appointments, {kBerlin, 30, "-abc@vesktools"});
  const std::string remark = "Pfad C:\\Daten\\neu; Liste a,b\nZweite\tZeile " + std::string(70, 'x') + "ä€ä€ä€ä€";

  int continued = 0;
  for (size_t start = 0, end; start < text.size(); start = end + 2) {
    end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "no CRLF after " << text.substr(start);
    const std::string_view line(text.data() + start, end - start);
    EXPECT_EQ(line.find('\n'), std::string_view::npos) << line;
    EXPECT_LE(line.size(), 75u) << line;
    if (line.starts_with(' ')) {
      ++continued;
      EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << "a character split before " << line;
    }
  }
  EXPECT_GE(continued, 2);

  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> calendar(icalparser_parse_string(text.c_str()),
                                                                     icalcomponent_free);
  icalcomponent* event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_NE(event, nullptr);
  EXPECT_STREQ(icalcomponent_get_uid(event), "termin-123456789-abc@vesktools");
  EXPECT_EQ(icalcomponent_get_summary(event), appointments[0].Ort);
  EXPECT_EQ(icalcomponent_get_description(event), remark);
  EXPECT_EQ(icalcomponent_get_dtstart(event).minute, 5);
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(icalcomponent_get_description(alarm), appointments[0].Ort);

  const std::vector<AppointmentRecord> back = AppointmentsFromCalendar(text, kBerlin, EncodeDate(2027, 1, 1));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].Ort, appointments[0].Ort);
  EXPECT_EQ(back[0].Bemerkung, remark);
  EXPECT_EQ(back[0].Uhrzeit, appointments[0].Uhrzeit);

  // Bytes that are no character at all (Latin-1 degree signs) are cut anywhere.
  const std::string stray = FoldedLine(std::string(200, '\xB0'));
  EXPECT_EQ(stray.size(), 200u + 2 * 3 + 2);
}

TEST(CalendarImport, OtherZonesUtcAndWholeDaysInLocalTime) {
  const std::vector<AppointmentRecord> events =
      AppointmentsFromCalendar(Sample("other_zone.ics"), kBerlin, EncodeDate(2026, 12, 1));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Datum, EncodeDate(2027, 1, 15));
  EXPECT_EQ(events[0].Uhrzeit, EncodeTime(15, 0, 0, 0));  // 9:00 in New York
  EXPECT_EQ(events[0].Ort, "Telefonkonferenz New York");
  EXPECT_EQ(events[0].Bemerkung, "Agenda:\n1. Zahlen\n2. Ausblick\n\nOrt: Büro, Raum 3");
  EXPECT_EQ(events[1].Datum, EncodeDate(2027, 7, 4));
  EXPECT_EQ(events[1].Uhrzeit, EncodeTime(18, 0, 0, 0));  // 16:00 UTC in summer time
  EXPECT_EQ(events[2].Datum, EncodeDate(2027, 12, 24));
  EXPECT_FALSE(events[2].Uhrzeit.has_value());
  EXPECT_EQ(events[2].Ort, "Heiligabend");
}

TEST(CalendarImport, WeeklyEventForTwelveMonths) {
  const std::string weekly = Sample("weekly.ics");
  const TDateTime monday = EncodeDate(2027, 1, 4);
  const std::vector<AppointmentRecord> events = AppointmentsFromCalendar(weekly, kBerlin, monday);
  ASSERT_EQ(events.size(), 52u);
  EXPECT_EQ(events.front().Datum, EncodeDate(2027, 1, 5));
  EXPECT_EQ(events.front().Uhrzeit, EncodeTime(18, 30, 0, 0));
  EXPECT_EQ(events.back().Datum, EncodeDate(2027, 12, 28));
  EXPECT_EQ(events.back().Uhrzeit, EncodeTime(18, 30, 0, 0));  // after the change to winter time too

  std::string excluded = weekly;
  excluded.insert(excluded.find("SUMMARY"), "EXDATE;TZID=Europe/Berlin:20270112T183000\r\n");
  const std::vector<AppointmentRecord> fewer = AppointmentsFromCalendar(excluded, kBerlin, monday);
  ASSERT_EQ(fewer.size(), 51u);
  EXPECT_EQ(fewer[1].Datum, EncodeDate(2027, 1, 19));
}

std::string Refusal(const std::string& text) {
  try {
    AppointmentsFromCalendar(text, kBerlin, EncodeDate(2027, 1, 4));
  } catch (const EExchangeError& error) {
    return error.what();
  }
  return "(read)";
}

TEST(CalendarImport, BrokenFilesAreRefusedWithTheirLine) {
  const std::string sample = Sample("other_zone.ics");
  EXPECT_EQ(Refusal(sample.substr(0, sample.find("END:VEVENT"))), "Zeile 21: BEGIN:VEVENT endet nicht (Datei abgeschnitten?)");
  EXPECT_EQ(Refusal("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"),
            "Zeile 2: Termin ohne Beginn (DTSTART)");
  EXPECT_EQ(Refusal("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"),
            "Zeile 3: END:VTODO, wo BEGIN:VEVENT aus Zeile 2 endet");
  EXPECT_EQ(Refusal("BEGIN:VCARD\r\nEND:VCARD\r\n"), "Zeile 1: BEGIN:VCARD außerhalb eines Kalenders");
  EXPECT_EQ(Refusal("\x7f" "ELF\x02\x01\x01\0\0"), "Zeile 1: Steuerzeichen im Text: keine Textdatei (Binärdaten?)");
  const std::string minutely =
      "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20270101T000000Z\r\nRRULE:FREQ=MINUTELY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  EXPECT_EQ(Refusal(minutely), "Zeile 2: die Wiederholung ergibt mehr als 10000 Termine in zwölf Monaten");
  const std::string badStart = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:morgen\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  EXPECT_TRUE(Refusal(badStart).starts_with("Zeile 2: ")) << Refusal(badStart);
  const std::string yearZero =
      "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:00000101\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  EXPECT_TRUE(Refusal(yearZero).starts_with("Zeile 2: ")) << Refusal(yearZero);
}

}  // namespace
}  // namespace vesk
