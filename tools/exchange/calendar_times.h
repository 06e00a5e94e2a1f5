// What reading, writing and patching calendars share through libical: the
// component tree's owner, zones by name, an appointment's time as libical
// holds it, the time an exception names, and an event's texts as a memo
// keeps them.
#pragma once

#include <libical/ical.h>

#include <memory>
#include <string>

#include "tools/exchange/appointment_record.h"

namespace vesk {

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The zone of an Olson name; UTC for "", "UTC" and a name libical does not know.
icaltimezone* Zone(const std::string& name);

// The appointment's start: a day, or the time of day in zone.
icaltimetype LocalTime(const AppointmentRecord& appointment, icaltimezone* zone);

// A time of an exception (EXDATE, RECURRENCE-ID) in the zone its TZID
// names; one without a zone is on the clock of the series' start.
icaltimetype OccurrenceTime(icalproperty* property, icalcomponent* event, icaltimetype start);

// libical turns the escapes "\r", "\b" and "\f" into control characters; a
// memo keeps line breaks as LF and no other control character. The line
// break Exchange ends every description with goes, with any blanks after
// the text.
std::string TextOf(icalcomponent* event, icalproperty_kind kind);

// Takes the VTIMEZONEs named by a zone libical knows (an Olson name, as
// phones and most servers write) out of the calendars of root, for reading:
// libical's own zone of the name then stands for it, expanded once for the
// program, where each calendar's own would be expanded anew (about a
// millisecond, a hundred times the rest of reading one event). A zone
// libical does not know (a Windows name) stays.
void UseKnownZones(icalcomponent* root);

// The component as libical writes it.
std::string Serialised(icalcomponent* component);

}  // namespace vesk
