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
#include <string>

#include "runtime/datetime.h"
#include "sync/dav_client.h"

namespace vesk {

class TRadiRidir;

struct SyncSummary {
  int added = 0, changed = 0, deleted = 0;  // on either side
  int conflicts = 0;                        // fields changed on both sides to different values
  // "Adressen abgeglichen: 3 neu, 1 geändert, 0 gelöscht" and the conflicts, when there were any.
  std::string Text() const;
};

struct SyncOutcome {
  DavFailure failure = DavFailure::None;
  std::string message;   // German, when it failed
  bool stopped = false;  // by SyncHooks::progress: the table unchanged, or the cards written so far
  SyncSummary summary;
};

// How far a sync is: first the server's cards are fetched, then the
// table's changes go up one card at a time.
struct SyncProgress {
  size_t fetched = 0, toFetch = 0;
  size_t written = 0, toWrite = 0;
  // "Abgleich: 300 von 5000 Karten geholt"
  std::string Text() const;
};

// Told of each step the caller wants to follow or come between.
struct SyncHooks {
  // After each batch of cards fetched and each card written; false stops
  // the sync there. Nothing is applied half: stopped while fetching, the
  // table stays as it was; while writing, the cards written so far count.
  std::function<bool(const SyncProgress&)> progress = {};
  // Before each card is written or deleted; false ends the sync there as a
  // killed process would, writing nothing more.
  std::function<bool(const std::string& href)> beforeWrite = {};
};

// The table must be open for writing; its state file lies beside it.
// today dates the notes of conflicts.
void SyncAddresses(TRadiRidir& table, DavClient& client, const QUrl& book, TDateTime today,
                   std::function<void(SyncOutcome)> done, SyncHooks hooks = {});

}  // namespace vesk
