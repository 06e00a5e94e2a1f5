// Blob streams of one table: blob marks naming (record, field) pairs, the
// writes held until their record is stored, so a cancelled edit leaves the
// stored blob as it was, and the last stored blob read, for chunked reads.
#ifndef VESK_ENGINE_HELD_BLOBS_H
#define VESK_ENGINE_HELD_BLOBS_H

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/catalogue.h"

namespace vesk::engine {

class HeldBlobs {
 public:
  using Key = std::pair<int32_t, int32_t>;  // identity (0: the new record), field
  // Reads the stored blob of a key; throws EngineError when SQLite fails.
  using StoredReader = std::function<std::string(const Key&)>;

  // Throws EngineError when the table takes no writes.
  using WriteCheck = std::function<void()>;

  HeldBlobs(const Catalogue& catalogue, StoredReader read_stored, WriteCheck require_writable);

  // The blob mark for field of record identity, the same for each opening.
  int32_t Open(int32_t identity, int32_t field);
  // Reads, writes, truncates or measures the blob a blob mark names, as
  // rr_blob does; throws EngineError for unknown marks and operations and
  // for positions out of range.
  int32_t Stream(int32_t operation, int32_t blob_mark, int32_t value, int32_t count, uint8_t* buffer);

  bool Holds(int32_t identity, int32_t field) const { return held_.count({identity, field}) != 0; }
  // Binds the held write of field for identity to parameter, NULL without one.
  void Bind(sqlite3_stmt* stmt, int parameter, int32_t field, int32_t identity) const;
  // Puts the lengths of identity's held writes into a record buffer.
  void Show(int32_t identity, uint8_t* buffer) const;
  void Drop(int32_t identity);
  void DropAll() { held_.clear(); }
  // The stored blobs may have changed: the next read asks the file.
  void ForgetStored() { cached_key_ = {-1, -1}; }

 private:
  Key Named(int32_t blob_mark) const;
  int32_t Read(const Key& key, int32_t position, int32_t count, uint8_t* buffer);
  int32_t Write(const Key& key, int32_t position, int32_t count, const uint8_t* buffer);
  int32_t Truncate(const Key& key, int32_t length);
  std::string& Content(const Key& key, bool for_writing);

  const Catalogue& catalogue_;
  StoredReader read_stored_;
  WriteCheck require_writable_;
  std::map<Key, std::string> held_;  // writes not yet stored
  std::map<Key, int32_t> mark_of_;
  std::vector<Key> marks_;  // blob mark n names marks_[n - 1]
  Key cached_key_{-1, -1};
  std::string cached_;
};

}  // namespace vesk::engine

#endif
