#include "engine/commit_watch.h"

#include "engine/engine_error.h"

namespace vesk::engine {

int64_t CommitWatch::DataVersion() {
  sqlite3_stmt* stmt = data_version_.get();
  if (!Step(watcher_.get(), stmt)) throw EngineError("No data version");
  int64_t version = sqlite3_column_int64(stmt, 0);
  sqlite3_reset(stmt);
  return version;
}

void CommitWatch::Start(const std::string& name) {
  name_ = name;
  // The header first: a commit after it shows at the next check.
  wal_index_.Watch(name + "-shm");
}

void CommitWatch::OpenWatcher() {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(name_.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  Database watcher(raw);
  if (rc != SQLITE_OK) throw EngineError(raw ? sqlite3_errmsg(raw) : "out of memory");
  sqlite3_busy_timeout(raw, 5000);
  Statement version = Prepare(raw, "PRAGMA data_version");
  // Kept only once it works, so that a failure is tried again next time.
  watcher_ = std::move(watcher);
  data_version_ = std::move(version);
  seen_version_ = DataVersion();
}

bool CommitWatch::Committed() {
  if (!wal_index_.Changed()) return false;
  if (!watcher_) {
    OpenWatcher();
    return true;
  }
  int64_t version = DataVersion();
  if (version == seen_version_) return false;
  seen_version_ = version;
  return true;
}

}  // namespace vesk::engine
