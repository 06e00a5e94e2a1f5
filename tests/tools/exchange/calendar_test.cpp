// iCalendar: the export read back by libical itself and by the import, with
// its zone, duration, UID and reminder and its escaped and folded texts;
// events of other zones, UTC and whole days in local time; a weekly event
// over twelve months with its moved and cancelled occurrences; exports of
// Google, Exchange and a booking site; unreadable events skipped and broken
// files refused, each with the line at fault.
#include <gtest/gtest.h>

#include <libical/ical.h>
#include <map>
#include <set>

#include <memory>

#include "runtime/datetime.h"
#include "tests/tools/exchange/sample_files.h"
#include "tools/exchange/calendar_file.h"
#include "tools/exchange/calendar_patch.h"
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

  std::vector<AppointmentRecord> back = AppointmentsFromCalendar(text, kBerlin, EncodeDate(2026, 12, 1)).appointments;
  ASSERT_EQ(back.size(), 2u);
  for (size_t i = 0; i < back.size(); ++i) {
    back[i].identity = appointments[i].identity;
    back[i].line = 0;
    EXPECT_FALSE(back[i].uid.empty());
    EXPECT_EQ(back[i].occurrence, "");
    back[i].uid.clear();
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

  const std::vector<AppointmentRecord> back =
      AppointmentsFromCalendar(text, kBerlin, EncodeDate(2027, 1, 1)).appointments;
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
      AppointmentsFromCalendar(Sample("other_zone.ics"), kBerlin, EncodeDate(2026, 12, 1)).appointments;
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
  const std::vector<AppointmentRecord> events = AppointmentsFromCalendar(weekly, kBerlin, monday).appointments;
  ASSERT_EQ(events.size(), 52u);
  EXPECT_EQ(events.front().Datum, EncodeDate(2027, 1, 5));
  EXPECT_EQ(events.front().Uhrzeit, EncodeTime(18, 30, 0, 0));
  EXPECT_EQ(events.back().Datum, EncodeDate(2027, 12, 28));
  EXPECT_EQ(events.back().Uhrzeit, EncodeTime(18, 30, 0, 0));  // after the change to winter time too

  std::string excluded = weekly;
  excluded.insert(excluded.find("SUMMARY"), "EXDATE;TZID=Europe/Berlin:20270112T183000\r\n");
  const std::vector<AppointmentRecord> fewer = AppointmentsFromCalendar(excluded, kBerlin, monday).appointments;
  ASSERT_EQ(fewer.size(), 51u);
  EXPECT_EQ(fewer[1].Datum, EncodeDate(2027, 1, 19));
}

struct Reading {
  std::vector<AppointmentRecord> appointments;
  std::string faults;  // the refusal, or the skipped events and lines, one after the other
};

Reading Read(const std::string& text, TDateTime today = EncodeDate(2027, 1, 4)) {
  try {
    CalendarReading reading = AppointmentsFromCalendar(text, kBerlin, today);
    std::string faults;
    for (const ExchangeFault& fault : reading.skipped) faults += (faults.empty() ? "" : " | ") + fault.Text();
    return {std::move(reading.appointments), faults};
  } catch (const EExchangeError& error) {
    return {{}, std::string("refused: ") + error.what()};
  }
}

std::string Event(const std::string& lines) { return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n"; }
std::string Calendar(const std::string& events) { return "BEGIN:VCALENDAR\r\n" + events + "END:VCALENDAR\r\n"; }

TEST(CalendarImport, UnreadableEventsAreSkippedAndBrokenFilesRefusedAtTheLineAtFault) {
  const std::string good = Event("DTSTART:20270110T120000Z\r\nSUMMARY:gut\r\n");
  const std::string sample = Sample("other_zone.ics");
  struct Case {
    std::string text;
    size_t appointments;
    std::string faults;
  } cases[] = {
      // Whole files that are no calendar, or are cut short, are refused.
      {sample.substr(0, sample.find("END:VEVENT")), 0,
       "refused: Zeile 21: BEGIN:VEVENT endet nicht (Datei abgeschnitten?)"},
      {"BEGIN:VCARD\r\nEND:VCARD\r\n", 0, "refused: Zeile 1: BEGIN:VCARD außerhalb eines Kalenders"},
      {"\x7f"
       "ELF\x02\x01\x01\0\0",
       0, "refused: Zeile 1: Steuerzeichen im Text: keine Textdatei (Binärdaten?)"},
      {"", 0, "refused: Zeile 1: kein Kalender in der Datei (BEGIN:VCALENDAR fehlt)"},
      {"BEGIN:VCALENDAR\r\nBEGIN:VTIMEZONE\r\nEND:VCALENDAR\r\n", 0,
       "refused: Zeile 3: END:VCALENDAR, wo BEGIN:VTIMEZONE aus Zeile 2 endet"},
      // One event that cannot be read goes; the others come in.
      {Calendar(Event("SUMMARY:x\r\n") + good), 1, "Zeile 2: Termin ohne Beginn"},
      {Calendar(Event("DTSTART:morgen\r\n") + good), 1, "Zeile 3: Beginn (DTSTART) nicht lesbar"},
      {Calendar(Event("DTSTART;VALUE=DATE:00000101\r\n") + good), 1, "Zeile 3: "},
      {Calendar(Event("DTSTART:20270101T000000Z\r\nRRULE:FREQ=MINUTELY\r\n") + good), 1,
       "Zeile 4: die Wiederholung ergibt mehr als 10000 Termine in zwölf Monaten"},
      {Calendar(Event("DTSTART:20270101T000000Z\r\nRRULE:FREQ=SOMETIMES\r\n") + good), 1,
       "Zeile 4: Wiederholungsregel (RRULE) nicht lesbar"},
      {Calendar(good + Event("DTSTART:20270101T000000Z\r\nX-EINS:1\r\n ORGANIZER;CN=Anna\r\nORGANIZER;CN=Anna\r\n")), 1,
       "Zeile 10: Eigenschaft ohne Doppelpunkt"},
      {Calendar("BEGIN:VEVENT\r\nEND:VTODO\r\n" + good), 1, "Zeile 3: END:VTODO ohne BEGIN:VTODO"},
      {Calendar("BEGIN:VEVENT\r\nDTSTART:20270101T000000Z\r\n" + good), 1,
       "Zeile 4: neuer Termin, bevor der Termin ab Zeile 2 mit END:VEVENT endet"},
      {Calendar("BEGIN:VEVENT\r\nBEGIN:VALARM\r\nEND:VEVENT\r\n" + good), 1,
       "Zeile 4: END:VEVENT, wo BEGIN:VALARM aus Zeile 3 endet"},
      // Lines outside the calendar are left out.
      {"Von: kalender@example.de\r\n" + Calendar(good) + "\r\n--\r\nGesendet von meinem Telefon\r\n", 1,
       "Zeile 1: Text außerhalb eines Kalenders | Zeile 9: Text nach dem Ende des Kalenders | "
       "Zeile 10: Text nach dem Ende des Kalenders"},
      // Nothing but empty values and blank lines: nothing is wrong.
      {Calendar(Event("DTSTART:20270110T120000Z\r\n\r\nDESCRIPTION:\r\nLOCATION:\r\nSUMMARY:\r\n")), 1, ""},
  };
  for (const Case& c : cases) {
    const Reading reading = Read(c.text);
    EXPECT_EQ(reading.appointments.size(), c.appointments) << c.text;
    if (c.faults.ends_with(": "))
      EXPECT_TRUE(reading.faults.starts_with(c.faults)) << reading.faults;
    else
      EXPECT_EQ(reading.faults, c.faults) << c.text;
  }
}

TEST(CalendarImport, AGoogleExportWithEmptyValuesAndACancelledOccurrence) {
  const std::string google = Sample("google_export.ics");
  const TDateTime monday = EncodeDate(2026, 12, 14);
  const Reading reading = Read(google, monday);
  EXPECT_EQ(reading.faults, "");
  ASSERT_EQ(reading.appointments.size(), 2u + 53 - 1);
  EXPECT_EQ(reading.appointments[0].Ort, "Zahnarzt Dr. Weiß");
  EXPECT_EQ(reading.appointments[0].Bemerkung, "");
  EXPECT_EQ(reading.appointments[0].Uhrzeit, EncodeTime(10, 0, 0, 0));
  EXPECT_FALSE(reading.appointments[1].Uhrzeit.has_value());
  std::vector<TDateTime> training;
  for (const AppointmentRecord& a : reading.appointments)
    if (a.Ort == "Training") {
      training.push_back(a.Datum);
      EXPECT_EQ(a.Uhrzeit, EncodeTime(19, 0, 0, 0));
      EXPECT_EQ(a.Bemerkung,
                "Bitte Hallenschuhe mitbringen. Den Schlüssel für die Halle hat der Hausmeister.\n\n"
                "Ort: Turnhalle Süd");
    }
  ASSERT_EQ(training.size(), 52u);
  EXPECT_EQ(training[1], EncodeDate(2026, 12, 21));
  EXPECT_EQ(training[2], EncodeDate(2027, 1, 4));  // the 28th is cancelled

  // Copied through a Windows program: every line ends in CR CR LF, the
  // folded description too.
  std::string copied;
  for (char c : google) copied += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Reading again = Read(copied, monday);
  EXPECT_EQ(again.faults, "");
  EXPECT_EQ(again.appointments, reading.appointments);
}

TEST(CalendarImport, AnExchangeSeriesWithMovedAndCancelledOccurrences) {
  const Reading reading = Read(Sample("exchange_series.ics"), EncodeDate(2027, 1, 11));
  EXPECT_EQ(reading.faults, "");
  std::vector<std::string> got;
  for (const AppointmentRecord& a : reading.appointments)
    got.push_back(FormatDateTime("dd.mm. hh:nn ", a.Datum + *a.Uhrzeit) + a.Ort);
  // The 6th moved to the 8th lies before today; the 20th moved to the
  // 21st; the 3 February cancelled; the 31 March, in summer time, moved to
  // the 30th.
  EXPECT_EQ(got, (std::vector<std::string>{"13.01. 10:00 Teamrunde", "27.01. 10:00 Teamrunde", "10.02. 10:00 Teamrunde",
                                           "17.02. 10:00 Teamrunde", "24.02. 10:00 Teamrunde", "03.03. 10:00 Teamrunde",
                                           "10.03. 10:00 Teamrunde", "17.03. 10:00 Teamrunde", "24.03. 10:00 Teamrunde",
                                           "21.01. 14:30 Teamrunde (verschoben)", "30.03. 09:00 Teamrunde"}));
  EXPECT_EQ(reading.appointments[9].Bemerkung, "Diesmal im großen Saal\n\nOrt: Großer Saal");
  // Each occurrence named by the series' UID and the time it has in the
  // series, in UTC; an override by the occurrence it replaces, though its
  // RECURRENCE-ID names a Windows zone.
  std::set<std::string> ids;
  for (const AppointmentRecord& a : reading.appointments) {
    EXPECT_EQ(a.uid, reading.appointments[0].uid);
    ids.insert(a.occurrence);
  }
  EXPECT_FALSE(reading.appointments[0].uid.empty());
  EXPECT_EQ(ids.size(), reading.appointments.size());
  EXPECT_EQ(reading.appointments[0].occurrence, "20270113T090000Z");
  EXPECT_EQ(reading.appointments[9].occurrence, "20270120T090000Z");
  EXPECT_EQ(reading.appointments[10].occurrence, "20270331T080000Z");  // 10:00 in summer time
}

TEST(CalendarImport, ABookingWithOneBrokenLineBringsWhatCanBeRead) {
  const Reading reading = Read(Sample("booking.ics"), EncodeDate(2026, 12, 14));
  EXPECT_EQ(reading.faults,
            "Zeile 17: Eigenschaft ohne Doppelpunkt | Zeile 21: Termin ohne Beginn | "
            "Zeile 27: Text nach dem Ende des Kalenders");
  ASSERT_EQ(reading.appointments.size(), 1u);
  EXPECT_EQ(reading.appointments[0].Datum, EncodeDate(2027, 2, 12));
  EXPECT_EQ(reading.appointments[0].Ort, "Hotel Adler, Oberstdorf");
}

// Changes made here written into a server's text: an occurrence of the
// Exchange series moved (an override, though the series names a Windows
// zone) and one deleted (an EXDATE); a day-long event given a time (an
// hour long now); a remark changed where the place was added to it on
// reading; what the program has no field for stays.
TEST(CalendarPatch, ChangesGoIntoTheTextAndReadBack) {
  const std::string series = Sample("exchange_series.ics");
  const TDateTime today = EncodeDate(2027, 1, 11);
  const Reading before = Read(series, today);
  ASSERT_EQ(before.appointments.size(), 11u);
  AppointmentRecord moved = before.appointments[1];  // 27 January, 10:00
  ASSERT_EQ(moved.occurrence, "20270127T090000Z");
  moved.Uhrzeit = EncodeTime(11, 15, 0, 0);
  moved.Ort = "Teamrunde (später)";
  const std::string patched = PatchedCalendar(
      series,
      {{moved.occurrence, before.appointments[1], moved}, {"20270210T090000Z", before.appointments[2], std::nullopt}},
      kBerlin);
  const Reading after = Read(patched, today);
  EXPECT_EQ(after.faults, "");
  ASSERT_EQ(after.appointments.size(), 10u) << patched;
  std::map<std::string, AppointmentRecord> byOccurrence;
  for (const AppointmentRecord& a : after.appointments) byOccurrence[a.occurrence] = a;
  EXPECT_FALSE(byOccurrence.contains("20270210T090000Z"));
  ASSERT_TRUE(byOccurrence.contains(moved.occurrence));
  EXPECT_EQ(byOccurrence[moved.occurrence].Uhrzeit, moved.Uhrzeit);
  EXPECT_EQ(byOccurrence[moved.occurrence].Ort, moved.Ort);
  AppointmentRecord unchanged = byOccurrence["20270113T090000Z"];
  unchanged.line = before.appointments[0].line;  // the text has more lines now
  EXPECT_EQ(unchanged, before.appointments[0]);
  std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> root(icalparser_parse_string(patched.c_str()),
                                                                icalcomponent_free);
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_count_errors(root.get()), 0);
  // Five events and the new override.
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 6) << patched;

  const std::string day = Calendar(
      Event("UID:res-88412-anreise@hotel-adler.example\r\nDTSTAMP:20261210T083000Z\r\nDTSTART;VALUE=DATE:20270212\r\n"
            "DTEND;VALUE=DATE:20270215\r\nSUMMARY:Hotel Adler\\, Oberstdorf\r\n"
            "LOCATION:Hauptstraße 5\\, 87561 Oberstdorf\r\nDESCRIPTION:Buchungsnummer 88412\r\n"
            "ATTENDEE;CN=Gast:mailto:gast@example.de\r\nX-HOTEL-ZIMMER:12\r\n"));
  const AppointmentRecord stay = Read(day).appointments.at(0);
  ASSERT_EQ(stay.Bemerkung, "Buchungsnummer 88412\n\nOrt: Hauptstraße 5, 87561 Oberstdorf");
  AppointmentRecord arrival = stay;
  arrival.Uhrzeit = EncodeTime(15, 0, 0, 0);
  arrival.Bemerkung = "Buchungsnummer 88412, Zimmer 12\n\nOrt: Hauptstraße 5, 87561 Oberstdorf";
  const std::string timed = PatchedCalendar(day, {{"", stay, arrival}}, kBerlin);
  const Reading again = Read(timed);
  ASSERT_EQ(again.appointments.size(), 1u) << timed;
  EXPECT_EQ(again.appointments[0].Uhrzeit, arrival.Uhrzeit);
  EXPECT_EQ(again.appointments[0].Bemerkung, arrival.Bemerkung);
  for (const char* kept : {"ATTENDEE;CN=Gast:mailto:gast@example.de", "X-HOTEL-ZIMMER:12", "DURATION:PT1H",
                           "DESCRIPTION:Buchungsnummer 88412\\, Zimmer 12\r\n"})
    EXPECT_NE(timed.find(kept), std::string::npos) << kept << "\n" << timed;
  EXPECT_EQ(timed.find("DTEND"), std::string::npos) << timed;
  // A single event cannot lose one occurrence.
  EXPECT_THROW(PatchedCalendar(day, {{"", stay, std::nullopt}}, kBerlin), EExchangeError);
}

}  // namespace
}  // namespace vesk
