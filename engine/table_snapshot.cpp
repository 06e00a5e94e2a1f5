// A reader's view of its table. A reader reads from one snapshot of the
// file, so its order and the records it reads always agree. At each move,
// count or blob opening it looks whether the writer has committed since
// (the log index's header first, then SQLite's data version through a
// second connection), and if so takes a new snapshot and reloads the order,
// keeping the cursor on its record or where that record stood.
#include <algorithm>

#include "engine/engine_error.h"
#include "engine/table.h"

namespace vesk::engine {

int64_t Table::DataVersion() {
  sqlite3_stmt* stmt = data_version_.get();
  if (!Step(watcher_.get(), stmt)) throw EngineError("No data version");
  int64_t version = sqlite3_column_int64(stmt, 0);
  sqlite3_reset(stmt);
  return version;
}

void Table::OpenSnapshot() {
  sqlite3* watcher = nullptr;
  int rc = sqlite3_open_v2(name_.c_str(), &watcher, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  watcher_.reset(watcher);
  if (rc != SQLITE_OK) throw EngineError(watcher ? sqlite3_errmsg(watcher) : "out of memory");
  sqlite3_busy_timeout(watcher, 5000);
  data_version_ = Prepare(watcher, "PRAGMA data_version");
  // Header and version first: a commit after them shows at the next check.
  wal_index_.Watch(name_ + "-shm");
  seen_version_ = DataVersion();
  Exec(db_.get(), "BEGIN");
}

void Table::FollowWriter() {
  if (writable_ || tests_.Running()) return;  // a record test runs inside a move over the order
  if (!wal_index_.Changed()) return;
  int64_t version = DataVersion();
  if (version == seen_version_) return;
  seen_version_ = version;
  int32_t identity = cursor_.NoCurrent() ? 0 : order_.Ids().At(cursor_.Position());
  size_t was = cursor_.Position();
  order_.EndRead();
  Exec(db_.get(), "COMMIT; BEGIN");
  blobs_.ForgetStored();
  LoadNextId();
  order_.Reload(db_.get());
  if (order_.Ids().Empty()) return cursor_.StandNowhere();
  size_t p = identity != 0 ? order_.Find(identity) : IdSequence::kNotFound;
  if (p != IdSequence::kNotFound || was == IdSequence::kNotFound) return cursor_.Moved(p);
  // The record stood on is gone: the cursor stands in its gap, so that the
  // next move goes to the record that followed it or the one before it.
  cursor_.StandInGap(std::min(was, order_.Ids().Size() - 1), std::min(was, order_.Ids().Size()));
}

}  // namespace vesk::engine
