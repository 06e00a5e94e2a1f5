// Tells a reader whether the writer has committed to its table file since
// it last looked: the log index's header first, which costs no SQLite
// call, then SQLite's data version through a second connection. That
// connection is opened only once the header has changed, so a reader that
// no one writes to opens one connection, not two.
#ifndef VESK_ENGINE_COMMIT_WATCH_H
#define VESK_ENGINE_COMMIT_WATCH_H

#include <cstdint>
#include <string>

#include "engine/sql.h"
#include "engine/wal_index_watch.h"

namespace vesk::engine {

class CommitWatch {
 public:
  // Starts watching the table file name.
  void Start(const std::string& name);
  // True once for each time the writer has committed since the last look;
  // also the first time the header changes, since what happened before the
  // second connection was there cannot be told apart. Throws EngineError
  // when the second connection cannot be opened.
  bool Committed();

 private:
  int64_t DataVersion();
  void OpenWatcher();

  std::string name_;
  Database watcher_;
  Statement data_version_;
  int64_t seen_version_ = 0;
  WalIndexWatch wal_index_;
};

}  // namespace vesk::engine

#endif
