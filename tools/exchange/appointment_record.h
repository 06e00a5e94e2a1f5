// One appointment as the appointments table holds it: the day, the time
// of day (none for a day-long appointment), the place and a remark; for
// export also the record's identity, which names it in other calendars;
// read from a calendar, the event it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/datetime.h"

namespace vesk {

struct AppointmentRecord {
  TDateTime Datum = 0;               // the day at 0:00, local time
  std::optional<TDateTime> Uhrzeit;  // time of day only
  std::string Ort;
  std::string Bemerkung;
  int32_t identity = 0;
  int line = 0;            // where an imported appointment begins in its file
  std::string uid;         // read: the event's UID; written: the UID, unless "" (named by identity)
  std::string occurrence;  // read: which occurrence of a series (OccurrenceId), "" for a single event
  friend bool operator==(const AppointmentRecord&, const AppointmentRecord&) = default;
};

}  // namespace vesk
