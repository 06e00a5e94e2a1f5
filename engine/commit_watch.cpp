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
  sqlite3* watcher = nullptr;
  int rc = sqlite3_open_v2(name.c_str(), &watcher, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  watcher_.reset(watcher);
  if (rc != SQLITE_OK) throw EngineError(watcher ? sqlite3_errmsg(watcher) : "out of memory");
  sqlite3_busy_timeout(watcher, 5000);
  data_version_ = Prepare(watcher, "PRAGMA data_version");
  // Header and version first: a commit after them shows at the next check.
  wal_index_.Watch(name + "-shm");
  seen_version_ = DataVersion();
}

bool CommitWatch::Committed() {
  if (!wal_index_.Changed()) return false;
  int64_t version = DataVersion();
  if (version == seen_version_) return false;
  seen_version_ = version;
  return true;
}

}  // namespace vesk::engine
