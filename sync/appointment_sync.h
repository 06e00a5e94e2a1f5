// One sync of the appointments table with a calendar on a CalDAV server,
// both ways, on the course of every collection sync (collection_sync.h) and
// with the address sync's rules: field by field against the base, the same
// field changed on both sides keeping the value typed here with the
// server's below the remark, a change winning over a deletion, unsynced
// equal appointments joined rather than doubled.
//
// A resource may be one event or a series. A series gives one record for
// each day it falls on from today for twelve months (the horizon moves on
// at each sync), each tracked by its occurrence: a change here goes up as
// an override in the same resource, a deletion here as an EXDATE, so that
// a series never becomes single events on the server. A series changed
// there refreshes its records here; one changed here and not yet synced is
// merged. Occurrences that have passed stay here as they are. An
// appointment made here goes up as a single event of an hour, with a
// reminder the lead time before.
#pragma once

#include <QUrl>
#include <functional>

#include "runtime/datetime.h"
#include "sync/dav_client.h"
#include "sync/sync_outcome.h"
#include "tools/exchange/calendar_file.h"

namespace vesk {

class TRadiRidir;

// The table must be open for writing; its state file lies beside it.
// today dates the notes of conflicts and begins the horizon; settings give
// the zone new starts are written in and the lead time of new events.
void SyncAppointments(TRadiRidir& table, DavClient& client, const QUrl& calendar, TDateTime today,
                      const CalendarSettings& settings, std::function<void(SyncOutcome)> done, SyncHooks hooks = {});

}  // namespace vesk
