// Keeps a table to one writer at a time, across handles and processes: an
// exclusive flock on the side file "<table>-lock", held while the table is
// open for writing. The side file is left in place (removing it would race
// with a writer about to lock it).
#ifndef VESK_ENGINE_WRITER_LOCK_H
#define VESK_ENGINE_WRITER_LOCK_H

#include <string>

#include "runtime/unique_fd.h"

namespace vesk::engine {

class WriterLock {
 public:
  WriterLock() = default;
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;
  ~WriterLock() { Release(); }

  // False when another writer holds the table; throws EngineError when the
  // lock file cannot be made.
  bool Acquire(const std::string& table_path);
  void Release();

 private:
  UniqueFd fd_;
};

}  // namespace vesk::engine

#endif
