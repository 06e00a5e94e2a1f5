#include "tools/exchange/calendar_file.h"

#include <libical/ical.h>

#include <QTimeZone>

#include <memory>

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

icalproperty* Start(const AppointmentRecord& appointment, icaltimezone* zone) {
  icalproperty* start = icalproperty_new_dtstart(LocalTime(appointment, zone));
  if (appointment.Uhrzeit && zone != icaltimezone_get_utc_timezone())
    icalproperty_add_parameter(start, icalparameter_new_tzid(icaltimezone_get_tzid(zone)));
  return start;
}

icalcomponent* Alarm(const AppointmentRecord& appointment, int leadMinutes) {
  icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icalcomponent_add_property(alarm, icalproperty_new_trigger(icaltriggertype_from_int(-leadMinutes * 60)));
  icalcomponent_add_property(alarm,
                             icalproperty_new_description(appointment.Ort.empty() ? "Termin" : appointment.Ort.c_str()));
  return alarm;
}

std::string Serialised(icalcomponent* component) {
  char* text = icalcomponent_as_ical_string_r(component);
  std::string result(text);
  std::free(text);
  return result;
}

// ----- reading

// The BEGIN line of each VEVENT, in the file's order, once the file is
// known to be whole: components that begin end, nothing stands outside a
// calendar. libical itself reads on over such faults.
std::vector<int> EventLines(std::string_view text) {
  std::vector<int> events;
  std::vector<std::pair<std::string, int>> open;
  bool calendar = false;
  for (const ContentLine& line : ReadContentLines(text)) {
    std::string value = line.value;
    for (char& c : value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
  }
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

std::string TextOf(icalcomponent* event, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(event, kind);
  const char* text = property != nullptr ? icalvalue_get_text(icalproperty_get_value(property)) : nullptr;
  return text != nullptr ? text : "";
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
  // Each event is written and freed on its own, before the calendar's end:
  // libical's tree of thousands of events costs more than the events.
  const size_t end = text.rfind("END:VCALENDAR");
  const std::string tail = text.substr(end);
  text.erase(end);
  const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
  for (const AppointmentRecord& appointment : appointments) {
    Component event(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    const std::string uid = "termin-" + std::to_string(appointment.identity) + settings.uidSuffix;
    icalcomponent_add_property(event.get(), icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(event.get(), icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event.get(), Start(appointment, zone));
    icalcomponent_add_property(event.get(), icalproperty_new_duration(
                                                icaldurationtype_from_int(appointment.Uhrzeit ? 3600 : 86400)));
    if (!appointment.Ort.empty())
      icalcomponent_add_property(event.get(), icalproperty_new_summary(appointment.Ort.c_str()));
    if (!appointment.Bemerkung.empty())
      icalcomponent_add_property(event.get(), icalproperty_new_description(appointment.Bemerkung.c_str()));
    icalcomponent_add_component(event.get(), Alarm(appointment, settings.leadMinutes));
    text += Serialised(event.get());
  }
  return text + tail;
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
