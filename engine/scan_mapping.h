// Memory-mapped reads for scans and searches. SQLite reads a mapped file
// without copying its pages, which reads of many pages gain by; but the
// mapping and the first touch of each mapped page cost more than reading
// the few pages that opening a table and showing its first record need.
// So a connection's file is mapped once a scan or a search begins, and
// stays mapped.
#ifndef VESK_ENGINE_SCAN_MAPPING_H
#define VESK_ENGINE_SCAN_MAPPING_H

#include <sqlite3.h>

namespace vesk::engine {

// Maps db's file for its reads from now on, unless it is mapped already;
// throws EngineError when SQLite fails.
void MapForScans(sqlite3* db);

}  // namespace vesk::engine

#endif
