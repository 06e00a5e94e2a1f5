#include "engine/scan_mapping.h"

#include "engine/sql.h"

namespace vesk::engine {

namespace {
constexpr sqlite3_int64 kMapped = sqlite3_int64{1} << 30;
}  // namespace

void MapForScans(sqlite3* db) {
  // A negative size asks for the one in force without changing it.
  sqlite3_int64 size = -1;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_MMAP_SIZE, &size) == SQLITE_OK && size >= kMapped) return;
  Exec(db, "PRAGMA mmap_size=" + std::to_string(kMapped));
}

}  // namespace vesk::engine
