#include "tools/exchange/calendar_file.h"

#include <libical/ical.h>

#include <QTimeZone>

#include <cstdlib>
#include <memory>

#include "runtime/conversions.h"
#include "tools/exchange/content_line_writer.h"
#include "tools/exchange/content_lines.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// An occurrence loop gives up after this many steps (a rule every second
// since 1970), and an event that gives more appointments is refused.
constexpr int kMaxRecurrenceSteps = 5'000'000;
constexpr size_t kMaxOccurrences = 10'000;

icaltimezone* Zone(const std::string& name) {
  icaltimezone* zone = name.empty() || name == "UTC" ? nullptr : icaltimezone_get_builtin_timezone(name.c_str());
  return zone != nullptr ? zone : icaltimezone_get_utc_timezone();
}

icaltimetype LocalTime(const AppointmentRecord& appointment, icaltimezone* zone) {
  icaltimetype time = icaltime_null_time();
  DecodeDate(appointment.Datum, time.year, time.month, time.day);
  if (!appointment.Uhrzeit) {
    time.is_date = 1;
    return time;
  }
  int msec = 0;
  DecodeTime(*appointment.Uhrzeit, time.hour, time.minute, time.second, msec);
  time.zone = zone;
  return time;
}

// ----- writing

std::string Serialised(icalcomponent* component) {
  char* text = icalcomponent_as_ical_string_r(component);
  std::string result(text);
  std::free(text);
  return result;
}

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
void AppendEvent(std::string& text, const AppointmentRecord& appointment, const SharedLines& shared,
                 icaltimezone* zone, const std::string& uidSuffix) {
  text += "BEGIN:VEVENT\r\n";
  text += FoldedLine("UID:" + EscapedText("termin-" + std::to_string(appointment.identity) + uidSuffix));
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

// The BEGIN line of each VEVENT, in the file's order, once the file is
// known to be whole: components that begin end, nothing stands outside a
// calendar. libical itself reads on over such faults.
std::vector<int> EventLines(std::string_view text) {
  std::vector<int> events;
  std::vector<std::pair<std::string, int>> open;
  bool calendar = false;
  ReadContentLines(text, [&](ContentLine&& line) {
    const std::string value = UpperCase(line.value);
    if (line.name == "BEGIN") {
      if (open.empty() && value != "VCALENDAR") throw EExchangeError(line.line, "BEGIN:" + line.value + " außerhalb eines Kalenders");
      if (value == "VEVENT") events.push_back(line.line);
      calendar = true;
      open.emplace_back(value, line.line);
    } else if (open.empty()) {
      throw EExchangeError(line.line, "Text außerhalb eines Kalenders (BEGIN:VCALENDAR fehlt)");
    } else if (line.name == "END") {
      if (value != open.back().first)
        throw EExchangeError(line.line, "END:" + line.value + ", wo BEGIN:" + open.back().first + " aus Zeile " +
                                            std::to_string(open.back().second) + " endet");
      open.pop_back();
    }
  });
  if (!open.empty())
    throw EExchangeError(open.back().second, "BEGIN:" + open.back().first + " endet nicht (Datei abgeschnitten?)");
  if (!calendar) throw EExchangeError(1, "kein Kalender in der Datei (BEGIN:VCALENDAR fehlt)");
  return events;
}

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

// libical turns the escapes "\r", "\b" and "\f" into control characters; a
// memo keeps line breaks as LF and no other control character.
std::string TextOf(icalcomponent* event, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(event, kind);
  const char* text = property != nullptr ? icalvalue_get_text(icalproperty_get_value(property)) : nullptr;
  return text != nullptr ? CleanedText(text) : "";
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

void AddOccurrences(std::vector<AppointmentRecord>& result, const AppointmentRecord& base, icalcomponent* event,
                    icaltimetype start, icaltimezone* local, TDateTime today) {
  const icalrecurrencetype rule = icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
  std::vector<icaltimetype> excluded;
  for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
    excluded.push_back(icalproperty_get_exdate(p));
  const std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> iterator(
      icalrecur_iterator_new(rule, start), icalrecur_iterator_free);
  if (!iterator) throw EExchangeError(base.line, "Wiederholungsregel (RRULE) nicht lesbar");
  const TDateTime end = InTwelveMonths(today);
  size_t found = 0;
  int steps = 0;
  for (icaltimetype time = icalrecur_iterator_next(iterator.get());
       !icaltime_is_null_time(time) && steps < kMaxRecurrenceSteps; time = icalrecur_iterator_next(iterator.get()), ++steps) {
    AppointmentRecord occurrence = base;
    SetTime(occurrence, time, local);
    if (occurrence.Datum >= end) break;
    if (occurrence.Datum < today) continue;
    const bool skip = std::any_of(excluded.begin(), excluded.end(), [&](const icaltimetype& ex) {
      return ex.is_date ? icaltime_compare_date_only(ex, time) == 0 : icaltime_compare(ex, time) == 0;
    });
    if (skip) continue;
    if (++found > kMaxOccurrences)
      throw EExchangeError(base.line, "die Wiederholung ergibt mehr als " + std::to_string(kMaxOccurrences) +
                                          " Termine in zwölf Monaten");
    result.push_back(std::move(occurrence));
  }
}

void ReadEventAt(std::vector<AppointmentRecord>& result, icalcomponent* event, int line, icaltimezone* local,
                 TDateTime today) {
  if (icalproperty* error = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY))
    throw EExchangeError(line, std::string("Termin nicht lesbar: ") + icalproperty_get_xlicerror(error));
  const icaltimetype start = icalcomponent_get_dtstart(event);
  if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
    throw EExchangeError(line, "Termin ohne Beginn (DTSTART)");
  AppointmentRecord base;
  base.line = line;
  const std::string summary = TextOf(event, ICAL_SUMMARY_PROPERTY);
  const std::string location = TextOf(event, ICAL_LOCATION_PROPERTY);
  base.Ort = summary.empty() ? location : summary;
  base.Bemerkung = TextOf(event, ICAL_DESCRIPTION_PROPERTY);
  if (!summary.empty() && !location.empty())
    base.Bemerkung += (base.Bemerkung.empty() ? "Ort: " : "\n\nOrt: ") + location;
  if (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) != nullptr)
    return AddOccurrences(result, base, event, start, local, today);
  SetTime(base, start, local);
  result.push_back(std::move(base));
}

// A day the dates cannot hold (the year 0) fails at the event's line too.
void ReadEvent(std::vector<AppointmentRecord>& result, icalcomponent* event, int line, icaltimezone* local,
               TDateTime today) {
  try {
    ReadEventAt(result, event, line, local, today);
  } catch (const EExchangeError&) {
    throw;
  } catch (const std::exception& error) {
    throw EExchangeError(line, std::string("Termin nicht lesbar: ") + error.what());
  }
}

}  // namespace

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

std::vector<AppointmentRecord> AppointmentsFromCalendar(std::string_view text, const std::string& zone,
                                                        TDateTime today) {
  const std::vector<int> lines = EventLines(text);
  Component root(icalparser_parse_string(std::string(text).c_str()));
  if (!root) throw EExchangeError(1, "kein Kalender in der Datei");
  const std::vector<icalcomponent*> events = Events(root.get());
  icaltimezone* local = Zone(zone);
  std::vector<AppointmentRecord> result;
  for (size_t i = 0; i < events.size(); ++i)
    ReadEvent(result, events[i], i < lines.size() ? lines[i] : 1, local, today);
  return result;
}

}  // namespace vesk
