#include "tools/exchange/calendar_file.h"

#include <libical/ical.h>

#include <QTimeZone>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unordered_map>

#include "runtime/conversions.h"
#include "tools/exchange/calendar_lines.h"
#include "tools/exchange/calendar_times.h"
#include "tools/exchange/content_line_writer.h"
#include "tools/exchange/content_lines.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

// An occurrence loop gives up after this many steps (a rule every second
// since 1970), and an event that gives more appointments is refused.
constexpr int kMaxRecurrenceSteps = 5'000'000;
constexpr size_t kMaxOccurrences = 10'000;

// ----- writing

// The text libical writes for a property, which is freed.
std::string Line(icalproperty* property) {
  char* text = icalproperty_as_ical_string_r(property);
  std::string line(text);
  std::free(text);
  icalproperty_free(property);
  return line;
}

// What all events of one export share, as libical writes it.
struct SharedLines {
  std::string stamp;      // DTSTAMP: the time of the export
  std::string timed;      // "DTSTART", the zone's TZID and ":", before a time of day
  std::string hour, day;  // the DURATION of a timed and of a day-long appointment
  std::string alarm;      // BEGIN:VALARM, ACTION and the TRIGGER the lead time before
};

SharedLines Shared(icaltimezone* zone, int leadMinutes) {
  SharedLines lines;
  lines.stamp = Line(icalproperty_new_dtstamp(icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
  lines.timed = "DTSTART";
  if (zone != icaltimezone_get_utc_timezone()) {
    icalparameter* tzid = icalparameter_new_tzid(icaltimezone_get_tzid(zone));
    char* text = icalparameter_as_ical_string_r(tzid);
    lines.timed = lines.timed + ";" + text;
    std::free(text);
    icalparameter_free(tzid);
  }
  lines.timed += ":";
  lines.hour = Line(icalproperty_new_duration(icaldurationtype_from_int(3600)));
  lines.day = Line(icalproperty_new_duration(icaldurationtype_from_int(86400)));
  lines.alarm = "BEGIN:VALARM\r\n" + Line(icalproperty_new_action(ICAL_ACTION_DISPLAY)) +
                Line(icalproperty_new_trigger(icaltriggertype_from_int(-leadMinutes * 60)));
  return lines;
}

// One VEVENT. libical's tree of a component with its properties and values,
// built and written for each of thousands of events, costs several times
// what reading them from the table does; so the lines that differ from event
// to event are put together here, their texts escaped and folded, their
// times in the form libical gives them.
void AppendEvent(std::string& text, const AppointmentRecord& appointment, const SharedLines& shared, icaltimezone* zone,
                 const std::string& uidSuffix) {
  text += "BEGIN:VEVENT\r\n";
  const std::string uid =
      appointment.uid.empty() ? "termin-" + std::to_string(appointment.identity) + uidSuffix : appointment.uid;
  text += FoldedLine("UID:" + EscapedText(uid));
  text += shared.stamp;
  char* start = icaltime_as_ical_string_r(LocalTime(appointment, zone));
  text += FoldedLine((appointment.Uhrzeit ? shared.timed : "DTSTART;VALUE=DATE:") + start);
  std::free(start);
  text += appointment.Uhrzeit ? shared.hour : shared.day;
  if (!appointment.Ort.empty()) text += FoldedLine("SUMMARY:" + EscapedText(appointment.Ort));
  if (!appointment.Bemerkung.empty()) text += FoldedLine("DESCRIPTION:" + EscapedText(appointment.Bemerkung));
  text += shared.alarm;
  text += FoldedLine("DESCRIPTION:" + EscapedText(appointment.Ort.empty() ? "Termin" : appointment.Ort));
  text += "END:VALARM\r\nEND:VEVENT\r\n";
}

// ----- reading

std::vector<icalcomponent*> Events(icalcomponent* root) {
  std::vector<icalcomponent*> calendars, events;
  if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
    calendars.push_back(root);
  } else {
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c != nullptr;
         c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
      calendars.push_back(c);
  }
  for (icalcomponent* calendar : calendars)
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e != nullptr;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
      events.push_back(e);
  return events;
}

// The time on the local clock: a zoned or UTC time converted, a floating
// time and a day as they stand.
void SetTime(AppointmentRecord& appointment, icaltimetype time, icaltimezone* local) {
  if (!time.is_date && (time.zone != nullptr || icaltime_is_utc(time))) time = icaltime_convert_to_zone(time, local);
  appointment.Datum = EncodeDate(time.year, time.month, time.day);
  if (time.is_date)
    appointment.Uhrzeit.reset();
  else
    appointment.Uhrzeit = EncodeTime(time.hour, time.minute, time.second, 0);
}

// Today in twelve months (the 28th for a 29 February).
TDateTime InTwelveMonths(TDateTime today) {
  int year = 0, month = 0, day = 0;
  DecodeDate(today, year, month, day);
  TDateTime end = 0;
  return TryEncodeDate(year + 1, month, day, end) ? end : EncodeDate(year + 1, month, 28);
}

// An event as libical read it, with where it stands in the file.
struct Event {
  icalcomponent* component = nullptr;
  const EventSource* source = nullptr;
  icaltimetype start{};
  std::optional<icaltimetype> recurrence;  // the occurrence of a series this one replaces
  bool series = false;                     // it has a rule of its own
};

bool SameOccurrence(icaltimetype a, icaltimetype b) {
  return a.is_date || b.is_date ? icaltime_compare_date_only(a, b) == 0 : icaltime_compare(a, b) == 0;
}

// The event's start, rule and replaced occurrence, read and checked; what
// is wrong is named at the line at fault.
Event ReadEvent(icalcomponent* component, const EventSource& source) {
  Event event;
  event.component = component;
  event.source = &source;
  event.start = icalcomponent_get_dtstart(component);
  if (icaltime_is_null_time(event.start) || !icaltime_is_valid_time(event.start)) {
    const int line = source.LineOf("DTSTART");
    throw EExchangeError(line != 0 ? line : source.begin,
                         line != 0 ? "Beginn (DTSTART) nicht lesbar" : "Termin ohne Beginn");
  }
  event.series = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY) != nullptr;
  if (!event.series && source.LineOf("RRULE") != 0)
    throw EExchangeError(source.LineOf("RRULE"), "Wiederholungsregel (RRULE) nicht lesbar");
  if (icalproperty* id = icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY)) {
    event.recurrence = OccurrenceTime(id, component, event.start);
    if (icaltime_is_null_time(*event.recurrence)) event.recurrence.reset();
  }
  if (!event.recurrence && source.LineOf("RECURRENCE-ID") != 0)
    throw EExchangeError(source.LineOf("RECURRENCE-ID"), "Wiederholung (RECURRENCE-ID) nicht lesbar");
  return event;
}

std::string UidOf(const Event& event) {
  const char* uid = icalcomponent_get_uid(event.component);
  return uid != nullptr ? uid : "";
}

AppointmentRecord Appointment(const Event& event) {
  AppointmentRecord appointment;
  appointment.line = event.source->begin;
  appointment.uid = UidOf(event);
  if (event.recurrence) appointment.occurrence = OccurrenceId(*event.recurrence);
  const std::string summary = TextOf(event.component, ICAL_SUMMARY_PROPERTY);
  const std::string location = TextOf(event.component, ICAL_LOCATION_PROPERTY);
  appointment.Ort = summary.empty() ? location : summary;
  appointment.Bemerkung = TextOf(event.component, ICAL_DESCRIPTION_PROPERTY);
  if (!summary.empty() && !location.empty())
    appointment.Bemerkung += (appointment.Bemerkung.empty() ? "Ort: " : "\n\nOrt: ") + location;
  return appointment;
}

// The occurrences of a series from today for twelve months, less those
// its EXDATEs exclude and those replaced elsewhere (replaced).
void AddOccurrences(std::vector<AppointmentRecord>& result, const Event& event,
                    const std::vector<icaltimetype>& replaced, icaltimezone* local, TDateTime today) {
  icalcomponent* component = event.component;
  const int ruleLine = event.source->LineOf("RRULE");
  const icalrecurrencetype rule =
      icalproperty_get_rrule(icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY));
  std::vector<icaltimetype> excluded = replaced;
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY))
    excluded.push_back(OccurrenceTime(p, component, event.start));
  const std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> iterator(
      icalrecur_iterator_new(rule, event.start), icalrecur_iterator_free);
  if (!iterator) throw EExchangeError(ruleLine, "Wiederholungsregel (RRULE) nicht lesbar");
  const AppointmentRecord base = Appointment(event);
  const TDateTime end = InTwelveMonths(today);
  std::vector<AppointmentRecord> occurrences;  // all of them, or none when the rule gives too many
  size_t found = 0;
  int steps = 0;
  for (icaltimetype time = icalrecur_iterator_next(iterator.get());
       !icaltime_is_null_time(time) && steps < kMaxRecurrenceSteps;
       time = icalrecur_iterator_next(iterator.get()), ++steps) {
    AppointmentRecord occurrence = base;
    SetTime(occurrence, time, local);
    occurrence.occurrence = OccurrenceId(time);
    if (occurrence.Datum >= end) break;
    if (occurrence.Datum < today) continue;
    if (std::ranges::any_of(excluded, [&](const icaltimetype& ex) { return SameOccurrence(ex, time); })) continue;
    if (++found > kMaxOccurrences)
      throw EExchangeError(ruleLine, "die Wiederholung ergibt mehr als " + std::to_string(kMaxOccurrences) +
                                         " Termine in zwölf Monaten");
    occurrences.push_back(std::move(occurrence));
  }
  result.insert(result.end(), std::make_move_iterator(occurrences.begin()), std::make_move_iterator(occurrences.end()));
}

bool Cancelled(const Event& event) { return icalcomponent_get_status(event.component) == ICAL_STATUS_CANCELLED; }

// The appointments of the events. An event that replaces one occurrence
// of a series in the file (RECURRENCE-ID) takes its place: it comes in
// when its own start lies in the twelve months, and not at all when it is
// cancelled. One whose series is not in the file stands alone.
void AddAppointments(CalendarReading& reading, const std::vector<Event>& events, icaltimezone* local, TDateTime today) {
  std::unordered_map<std::string, std::vector<icaltimetype>> replaced;  // by the UID of the series
  for (const Event& event : events)
    if (event.series && !event.recurrence) replaced.try_emplace(UidOf(event));
  for (const Event& event : events)
    if (event.recurrence) {
      const auto series = replaced.find(UidOf(event));
      if (series != replaced.end()) series->second.push_back(*event.recurrence);
    }
  static const std::vector<icaltimetype> kNone;
  const TDateTime end = InTwelveMonths(today);
  for (const Event& event : events) {
    try {
      if (event.series && !event.recurrence) {
        const auto series = replaced.find(UidOf(event));
        AddOccurrences(reading.appointments, event, series != replaced.end() ? series->second : kNone, local, today);
        continue;
      }
      if (event.recurrence && Cancelled(event)) continue;
      AppointmentRecord appointment = Appointment(event);
      SetTime(appointment, event.start, local);
      const bool inSeries = event.recurrence && replaced.contains(UidOf(event));
      if (!inSeries || (appointment.Datum >= today && appointment.Datum < end))
        reading.appointments.push_back(std::move(appointment));
    } catch (const EExchangeError& error) {
      reading.skipped.push_back(error.Fault());
    } catch (const std::exception& error) {
      // A day the dates cannot hold (the year 0).
      const int line = event.source->LineOf("DTSTART");
      reading.skipped.push_back(
          {line != 0 ? line : event.source->begin, std::string("Termin nicht lesbar: ") + error.what()});
    }
  }
}

}  // namespace

std::string OccurrenceId(const icaltimetype& time) {
  if (time.is_date) return icaltime_as_ical_string(time);
  icaltimetype id = time;
  if (id.zone != nullptr || icaltime_is_utc(id)) id = icaltime_convert_to_zone(id, icaltimezone_get_utc_timezone());
  return icaltime_as_ical_string(id);
}

std::string UserTimeZone() {
  const std::string name = QTimeZone::systemTimeZoneId().toStdString();
  return name.empty() ? "UTC" : name;
}

std::string CalendarFromAppointments(const std::vector<AppointmentRecord>& appointments,
                                     const CalendarSettings& settings) {
  icaltimezone* zone = Zone(settings.zone);
  Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Vesk Tools//Termine//DE"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  if (zone != icaltimezone_get_utc_timezone())
    icalcomponent_add_component(calendar.get(), icalcomponent_new_clone(icaltimezone_get_component(zone)));
  std::string text = Serialised(calendar.get());
  const size_t end = text.rfind("END:VCALENDAR");
  const std::string tail = text.substr(end);
  text.erase(end);
  const SharedLines shared = Shared(zone, settings.leadMinutes);
  text.reserve(text.size() + appointments.size() * 400);
  for (const AppointmentRecord& appointment : appointments)
    AppendEvent(text, appointment, shared, zone, settings.uidSuffix);
  text += tail;
  return text;
}

CalendarReading AppointmentsFromCalendar(std::string_view text, const std::string& zone, TDateTime today) {
  CalendarLines lines = ScanCalendar(text);
  CalendarReading reading;
  reading.skipped = std::move(lines.skipped);
  Component root(icalparser_parse_string(lines.text.c_str()));
  if (!root) throw EExchangeError(1, "kein Kalender in der Datei");
  UseKnownZones(root.get());
  const std::vector<icalcomponent*> components = Events(root.get());
  // libical reads the events the lines showed, in their order.
  if (components.size() != lines.events.size())
    throw EExchangeError(1, "der Kalender ist nicht lesbar (" + std::to_string(components.size()) + " statt " +
                                std::to_string(lines.events.size()) + " Termine)");
  std::vector<Event> events;
  events.reserve(components.size());
  for (size_t i = 0; i < components.size(); ++i) {
    try {
      events.push_back(ReadEvent(components[i], lines.events[i]));
    } catch (const EExchangeError& error) {
      reading.skipped.push_back(error.Fault());
    }
  }
  AddAppointments(reading, events, Zone(zone), today);
  std::ranges::stable_sort(reading.skipped, {}, &ExchangeFault::line);
  return reading;
}

}  // namespace vesk
