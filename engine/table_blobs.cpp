// Blob access through the table: opening a stream checks the field and
// record against what is stored now; the stream itself is held blobs' work.
#include "engine/engine_error.h"
#include "engine/radiridir.h"
#include "engine/table.h"

namespace vesk::engine {

std::string Table::StoredBlob(const HeldBlobs::Key& key) {
  sqlite3_stmt* stmt =
      statements_.Get("SELECT " + QuoteName(catalogue_.FieldAt(key.second).name) + " FROM records WHERE rr_id = ?1");
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, key.first);
  std::string bytes;
  if (Step(db_.get(), stmt)) {
    const void* data = sqlite3_column_blob(stmt, 0);
    if (data) bytes.assign(static_cast<const char*>(data), static_cast<size_t>(sqlite3_column_bytes(stmt, 0)));
  }
  sqlite3_reset(stmt);
  return bytes;
}

int32_t Table::Blob(int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark,
                    uint8_t* buffer) {
  if (operation != RR_BLOB_OPEN) return blobs_.Stream(operation, blob_mark, value, count, buffer);
  if (!catalogue_.FieldAt(field).IsBlob())
    throw EngineError("Field " + catalogue_.FieldAt(field).name + " is not a blob field");
  FollowWriter();  // a stream reads what is stored now
  if (value < 0 || (value > 0 && !editor_.RecordStored(value)))
    throw EngineError("Record " + std::to_string(value) + " does not exist");
  return blobs_.Open(value, field);
}

}  // namespace vesk::engine
