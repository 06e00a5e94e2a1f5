#include "tools/exchange/calendar_patch.h"

#include "tools/exchange/calendar_file.h"
#include "tools/exchange/calendar_times.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {
namespace {

icalcomponent* Master(icalcomponent* calendar) {
  for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e != nullptr;
       e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
    if (icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY) == nullptr) return e;
  return nullptr;
}

icalcomponent* Override(icalcomponent* calendar, icalcomponent* master, const std::string& occurrence) {
  const icaltimetype start = master != nullptr ? icalcomponent_get_dtstart(master) : icaltime_null_time();
  for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e != nullptr;
       e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
    if (icalproperty* id = icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY))
      if (OccurrenceId(OccurrenceTime(id, e, start)) == occurrence) return e;
  return nullptr;
}

void RemoveAll(icalcomponent* event, icalproperty_kind kind) {
  while (icalproperty* p = icalcomponent_get_first_property(event, kind)) {
    icalcomponent_remove_property(event, p);
    icalproperty_free(p);
  }
}

// A time property with its zone's TZID (none for UTC and floating times).
icalproperty* WithZone(icalproperty* property, const icaltimetype& time) {
  if (!time.is_date && time.zone != nullptr && !icaltime_is_utc(time))
    icalproperty_add_parameter(property,
                               icalparameter_new_tzid(icaltimezone_get_tzid(const_cast<icaltimezone*>(time.zone))));
  return property;
}

// The occurrence as the series' start names its times: a time in UTC
// turned to the start's zone.
icaltimetype InSeries(const std::string& occurrence, const icaltimetype& start) {
  icaltimetype time = icaltime_from_string(occurrence.c_str());
  if (icaltime_is_null_time(time)) throw EExchangeError(1, "Wiederholung " + occurrence + " nicht lesbar");
  if (icaltime_is_utc(time) && start.zone != nullptr && !icaltime_is_utc(start))
    time = icaltime_convert_to_zone(time, const_cast<icaltimezone*>(start.zone));
  return time;
}

// A new override of the occurrence: the series' event without its rules,
// at the occurrence's time, as long as the series' events are.
icalcomponent* NewOverride(icalcomponent* calendar, icalcomponent* master, const std::string& occurrence) {
  const icaltimetype start = icalcomponent_get_dtstart(master);
  const icaltimetype time = InSeries(occurrence, start);
  icalcomponent* event = icalcomponent_new_clone(master);
  for (icalproperty_kind kind : {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY, ICAL_EXRULE_PROPERTY,
                                 ICAL_RECURRENCEID_PROPERTY})
    RemoveAll(event, kind);
  icalcomponent_add_property(event, WithZone(icalproperty_new_recurrenceid(time), time));
  if (icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) != nullptr) {
    const icaldurationtype length = icaltime_subtract(icalcomponent_get_dtend(master), start);
    icalcomponent_set_dtend(event, icaltime_add(time, length));
  }
  icalcomponent_set_dtstart(event, time);
  icalcomponent_add_component(calendar, event);
  return event;
}

void SetText(icalcomponent* event, icalproperty_kind kind, const std::string& text) {
  RemoveAll(event, kind);
  if (text.empty()) return;
  icalproperty* property = icalproperty_new(kind);
  icalproperty_set_value(property, icalvalue_new_text(text.c_str()));
  icalcomponent_add_property(event, property);
}

// A new start in the user's zone; the end moves with it. Between a day and
// a time of day the length becomes an hour or a day, as for a new event.
// The zone's VTIMEZONE is the calendar's own where it has one by the
// zone's name (as phones write it), else libical's is added.
void SetStart(icalcomponent* calendar, icalcomponent* event, const AppointmentRecord& now, const std::string& name) {
  icaltimezone* zone = name.empty() ? nullptr : icalcomponent_get_timezone(calendar, name.c_str());
  if (zone == nullptr) zone = Zone(name);
  const icaltimetype start = LocalTime(now, zone);
  const icaltimetype old = icalcomponent_get_dtstart(event);
  if (!start.is_date && zone != icaltimezone_get_utc_timezone() &&
      icalcomponent_get_timezone(calendar, icaltimezone_get_tzid(zone)) == nullptr)
    icalcomponent_add_component(calendar, icalcomponent_new_clone(icaltimezone_get_component(zone)));
  const bool hasEnd = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) != nullptr;
  if (start.is_date == old.is_date) {
    if (hasEnd) {
      const icaldurationtype length = icaltime_subtract(icalcomponent_get_dtend(event), old);
      RemoveAll(event, ICAL_DTEND_PROPERTY);
      const icaltimetype end = icaltime_add(start, length);
      icalcomponent_add_property(event, WithZone(icalproperty_new_dtend(end), end));
    }
  } else {
    RemoveAll(event, ICAL_DTEND_PROPERTY);
    RemoveAll(event, ICAL_DURATION_PROPERTY);
    icalcomponent_add_property(event,
                               icalproperty_new_duration(icaldurationtype_from_int(start.is_date ? 86400 : 3600)));
  }
  RemoveAll(event, ICAL_DTSTART_PROPERTY);
  icalcomponent_add_property(event, WithZone(icalproperty_new_dtstart(start), start));
}

// What a remark here holds besides the description: the place, when the
// event has a title too ("Ort: …" at its end, as reading puts it there).
std::string Description(icalcomponent* event, const std::string& remark) {
  const std::string location = TextOf(event, ICAL_LOCATION_PROPERTY);
  if (location.empty() || TextOf(event, ICAL_SUMMARY_PROPERTY).empty()) return remark;
  const std::string alone = "Ort: " + location;
  if (remark == alone) return "";
  if (remark.ends_with("\n\n" + alone)) return remark.substr(0, remark.size() - alone.size() - 2);
  return remark;
}

void Apply(icalcomponent* calendar, icalcomponent* event, const AppointmentRecord& before, const AppointmentRecord& now,
           const std::string& zone) {
  if (now.Datum != before.Datum || now.Uhrzeit != before.Uhrzeit) SetStart(calendar, event, now, zone);
  if (now.Bemerkung != before.Bemerkung) SetText(event, ICAL_DESCRIPTION_PROPERTY, Description(event, now.Bemerkung));
  if (now.Ort != before.Ort) SetText(event, ICAL_SUMMARY_PROPERTY, now.Ort);
}

void AddExclusion(icalcomponent* master, const std::string& occurrence) {
  const icaltimetype time = InSeries(occurrence, icalcomponent_get_dtstart(master));
  icalcomponent_add_property(master, WithZone(icalproperty_new_exdate(time), time));
}

}  // namespace

std::string PatchedCalendar(std::string_view text, const std::vector<EventChange>& changes, const std::string& zone) {
  Component root(icalparser_parse_string(std::string(text).c_str()));
  if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
    throw EExchangeError(1, "kein Kalender in der Datei");
  icalcomponent* calendar = root.get();
  icalcomponent* master = Master(calendar);
  const bool series = master != nullptr && icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY) != nullptr;
  for (const EventChange& change : changes) {
    icalcomponent* event = change.occurrence.empty() ? master : Override(calendar, master, change.occurrence);
    if (!change.now) {
      if (!series || change.occurrence.empty()) throw EExchangeError(1, "nur eine Wiederholung kann wegfallen");
      if (event != nullptr) {
        icalcomponent_remove_component(calendar, event);
        icalcomponent_free(event);
      }
      AddExclusion(master, change.occurrence);
      continue;
    }
    if (event == nullptr) {
      if (!series) throw EExchangeError(1, "Termin " + change.occurrence + " steht nicht im Kalender");
      event = NewOverride(calendar, master, change.occurrence);
    }
    Apply(calendar, event, change.before, *change.now, zone);
  }
  // What libical could not read it names in X-LIC-ERROR properties, which
  // are its own and go.
  icalcomponent_strip_errors(calendar);
  return Serialised(calendar);
}

}  // namespace vesk
