// What a sync tells its caller: how far it is, what it did, and how it
// ended; and what the caller can tell it, to follow it or stop it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "sync/dav_client.h"

namespace vesk {

struct SyncSummary {
  const char* what = "Adressen";            // or "Termine"
  int added = 0, changed = 0, deleted = 0;  // on either side
  int conflicts = 0;                        // fields changed on both sides to different values
  bool upcoming = false;                    // appointments here from today on came, changed or went
  // "Adressen abgeglichen: 3 neu, 1 geändert, 0 gelöscht" and the conflicts, when there were any.
  std::string Text() const;
};

struct SyncOutcome {
  DavFailure failure = DavFailure::None;
  std::string message;   // German, when it failed
  bool stopped = false;  // by SyncHooks::progress: the table unchanged, or the resources written so far
  SyncSummary summary;
};

// How far a sync is: first the server's resources are fetched, then the
// table's changes go up one resource at a time.
struct SyncProgress {
  const char* items = "Karten";  // or "Termine"
  size_t fetched = 0, toFetch = 0;
  size_t written = 0, toWrite = 0;
  // "Abgleich: 300 von 5000 Karten geholt"
  std::string Text() const;
};

// Told of each step the caller wants to follow or come between.
struct SyncHooks {
  // After each batch fetched and each resource written; false stops the
  // sync there. Nothing is applied half: stopped while fetching, the table
  // stays as it was; while writing, the resources written so far count.
  std::function<bool(const SyncProgress&)> progress = {};
  // Before each resource is written or deleted; false ends the sync there
  // as a killed process would, writing nothing more.
  std::function<bool(const std::string& href)> beforeWrite = {};
};

}  // namespace vesk
