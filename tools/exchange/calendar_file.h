// Appointments to and from iCalendar (RFC 5545) through libical: events in
// the user's time zone with its VTIMEZONE, one hour long, with a reminder
// the lead time before; on reading, day-long, UTC and zoned events in local
// time and recurring events unfolded over the coming twelve months. libical
// reads and writes the calendar and zone; each event's own lines are put
// together directly, which costs a fraction of libical's component tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/exchange/appointment_record.h"
#include "tools/exchange/exchange_error.h"

struct icaltimetype;

namespace vesk {

struct CalendarSettings {
  std::string zone;       // the user's time zone, an Olson name ("Europe/Berlin")
  int leadMinutes = 120;  // the reminder before each appointment
  std::string uidSuffix;  // after the record's identity in each UID: names the table
};

// The user's time zone as the system names it (Qt asks $TZ, /etc/timezone
// and /etc/localtime); "UTC" when none names one.
std::string UserTimeZone();

std::string CalendarFromAppointments(const std::vector<AppointmentRecord>& appointments,
                                     const CalendarSettings& settings);

// The appointments of a calendar text, and the events and lines of it
// that could not be read, each named at the line at fault.
struct CalendarReading {
  std::vector<AppointmentRecord> appointments;
  std::vector<ExchangeFault> skipped;
};

// The events of the calendar text in local time (zone), a recurring one once
// for each day it falls on from today (0:00 local) for twelve months, an
// occurrence moved or cancelled (RECURRENCE-ID) in its place. An event that
// cannot be read is skipped. EExchangeError names the line and the reason
// when the file is no whole calendar.
CalendarReading AppointmentsFromCalendar(std::string_view text, const std::string& zone, TDateTime today);

// An occurrence of a series as one text, whatever zone names it: the day
// ("20261214") for a day-long series, the time in UTC ("20261214T080000Z")
// for a zoned or UTC one, the time as it stands for a floating one. An
// override's RECURRENCE-ID gives the same text as the occurrence it
// replaces.
std::string OccurrenceId(const icaltimetype& time);

}  // namespace vesk
