#include "tools/exchange/calendar_times.h"

#include <cstdlib>
#include <vector>

#include "runtime/datetime.h"
#include "tools/exchange/content_lines.h"

namespace vesk {

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

icaltimetype OccurrenceTime(icalproperty* property, icalcomponent* event, icaltimetype start) {
  icaltimetype time = icalproperty_get_datetime_with_component(property, event);
  if (!time.is_date && time.zone == nullptr && !icaltime_is_utc(time)) time.zone = start.zone;
  return time;
}

std::string TextOf(icalcomponent* event, icalproperty_kind kind) {
  icalproperty* property = icalcomponent_get_first_property(event, kind);
  const char* text = property != nullptr ? icalvalue_get_text(icalproperty_get_value(property)) : nullptr;
  if (text == nullptr) return "";
  std::string cleaned = CleanedText(text);
  cleaned.erase(cleaned.find_last_not_of(" \t\n") + 1);
  return cleaned;
}

void UseKnownZones(icalcomponent* root) {
  std::vector<icalcomponent*> calendars;
  if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) calendars.push_back(root);
  for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c != nullptr;
       c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
    calendars.push_back(c);
  for (icalcomponent* calendar : calendars) {
    std::vector<icalcomponent*> known;
    for (icalcomponent* z = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); z != nullptr;
         z = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
      icalproperty* tzid = icalcomponent_get_first_property(z, ICAL_TZID_PROPERTY);
      const char* name = tzid != nullptr ? icalproperty_get_tzid(tzid) : nullptr;
      if (name != nullptr && icaltimezone_get_builtin_timezone(name) != nullptr) known.push_back(z);
    }
    for (icalcomponent* z : known) {
      icalcomponent_remove_component(calendar, z);
      icalcomponent_free(z);
    }
  }
}

std::string Serialised(icalcomponent* component) {
  char* text = icalcomponent_as_ical_string_r(component);
  std::string result(text);
  std::free(text);
  return result;
}

}  // namespace vesk
