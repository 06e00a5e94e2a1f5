// Changes made here to the events of one calendar resource, written into
// its text through libical so that everything else in it stays: the
// server's alarms, attendees, rules, categories, X- properties. Only the
// properties of the changed fields are rewritten; a changed occurrence of
// a series becomes an override (RECURRENCE-ID) in the same resource, a
// deleted one an EXDATE of the series.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/exchange/appointment_record.h"

namespace vesk {

struct EventChange {
  std::string occurrence;                // OccurrenceId; "" for a single event
  AppointmentRecord before;              // as the text gives it
  std::optional<AppointmentRecord> now;  // as it is here; none when deleted (an occurrence only)
};

// The text with the changes made; a new start is written in zone (with its
// VTIMEZONE), a day-long one as a date, and the event keeps its length.
// EExchangeError when the text is no calendar or an occurrence is neither
// in it nor of a series in it.
std::string PatchedCalendar(std::string_view text, const std::vector<EventChange>& changes, const std::string& zone);

}  // namespace vesk
