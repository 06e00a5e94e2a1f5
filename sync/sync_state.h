// What the last sync left, in a file of its own beside the table (SQLite;
// the table file stays as the engine defines it): the collection's URL and
// sync token, and for each synced record its resource's href, etag and UID,
// which occurrence of a recurring event it is, and the resource as it was
// then (the base), against which both sides' changes are found field by
// field. A card is one record; a calendar resource may be many, one for each
// occurrence of its series.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "runtime/exceptions.h"

namespace vesk {

class ESyncState : public Exception {
 public:
  explicit ESyncState(const std::string& message) : Exception(message) {}
};

struct SyncedCard {
  int32_t record = 0;  // the record's identity in the table
  std::string href;
  std::string etag;
  std::string uid;
  std::string base;        // the card's text as last synced
  std::string held;        // base's fields as the table holds them, encoded by the sync; "" when not known
  std::string occurrence;  // of a recurring event (OccurrenceId); "" for a card or a single event
  friend bool operator==(const SyncedCard&, const SyncedCard&) = default;
};

struct SyncStateData {
  std::string book;                     // the collection's URL
  std::string token;                    // "" before the first sync, or when the server has no sync report
  std::map<int32_t, SyncedCard> cards;  // by record
  friend bool operator==(const SyncStateData&, const SyncStateData&) = default;
};

// The file beside the table: Data/adressen.mti has Data/adressen.sync,
// Data/termine.mti has Data/termine.sync.
std::string SyncStateFile(const std::string& tableFile);

// What the file holds; empty when it does not exist yet. ESyncState when it
// cannot be read.
SyncStateData ReadSyncState(const std::string& file);
// Makes the file hold state, in one transaction: a write killed halfway
// leaves the state before it. before is what the file holds now (as read
// or last written): only what differs from it is written, and nothing at
// all when nothing does. ESyncState when it cannot be written.
void WriteSyncState(const std::string& file, const SyncStateData& state, const SyncStateData& before);

}  // namespace vesk
