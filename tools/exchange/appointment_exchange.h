// Appointments to and from iCalendar files, through the appointments
// table's dataset.
#pragma once

#include <string>
#include <string_view>

#include "runtime/datetime.h"
#include "tools/exchange/batch_import.h"
#include "tools/exchange/calendar_file.h"

namespace vesk {

class TRadiRidir;

// Appends the calendar's appointments (calendar_file.h: in local time zone,
// recurring ones from today for twelve months) to the open table, all or
// none; the events that cannot be read are skipped and named in the
// result. EExchangeError with line and reason for a file that is no whole
// calendar, of which no event can be read, or with a record the table
// refuses; the table is then unchanged.
ImportResult ImportCalendar(TRadiRidir& table, std::string_view text, const std::string& zone, TDateTime today,
                            const ImportProgress& progress = {});

// The records the dataset shows, in its order, as one calendar; the UIDs
// name record and table, so that exporting again updates the events in
// another calendar instead of adding them twice.
std::string ExportCalendar(TRadiRidir& table, const std::string& zone, int leadMinutes);

}  // namespace vesk
