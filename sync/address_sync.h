// One sync of the address table with its address book on a CardDAV server,
// both ways, nothing lost and nothing doubled. The server's changes since
// the last sync (or all its cards, when the token is gone) are fetched and
// set against the table field by field, each record against the card as it
// was last synced:
//   - changed on one side: the change goes to the other;
//   - changed on both, different fields: both are kept;
//   - the same field: the value typed here stays and goes to the server,
//     the server's is written below the note ("Auf dem Server am
//     10.12.2026: Telefon1 = …");
//   - changed on one side, deleted on the other: the change wins.
// A card on the server that is not synced yet and a record here with the
// same fields are joined, not doubled: so a sync stopped at any point and
// run again, and two computers with the same addresses, end in one card.
// The table's changes go in one batch; the server's cards are written one
// by one with If-Match or If-None-Match, and a card changed there meanwhile
// (412) is fetched and merged, never overwritten.
#pragma once

#include <QUrl>
#include <functional>

#include "runtime/datetime.h"
#include "sync/dav_client.h"
#include "sync/sync_outcome.h"

namespace vesk {

class TRadiRidir;

// The table must be open for writing; its state file lies beside it.
// today dates the notes of conflicts.
void SyncAddresses(TRadiRidir& table, DavClient& client, const QUrl& book, TDateTime today,
                   std::function<void(SyncOutcome)> done, SyncHooks hooks = {});

}  // namespace vesk
