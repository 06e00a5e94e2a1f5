// Blob access: reads see writes that are held until the record is stored,
// so a cancelled edit leaves the stored blob as it was.
#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/engine_error.h"
#include "engine/table.h"

namespace vesk::engine {

void Table::BindHeldBlob(sqlite3_stmt* stmt, int parameter, int32_t field, int32_t identity) {
  auto held = held_blobs_.find({identity, field});
  if (held == held_blobs_.end() || held->second.empty()) {
    sqlite3_bind_null(stmt, parameter);
    return;
  }
  const std::string& bytes = held->second;
  char letter = catalogue_.fields[field].letter;
  if (letter == 'M' || letter == 'E')
    sqlite3_bind_text(stmt, parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  else
    sqlite3_bind_blob(stmt, parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

void Table::DropHeldBlobs(int32_t identity) {
  std::erase_if(held_blobs_, [identity](const auto& entry) { return entry.first.first == identity; });
}

void Table::ShowHeldBlobs(int32_t identity, uint8_t* buffer) const {
  if (held_blobs_.empty()) return;
  for (int32_t f = 0; f < catalogue_.FieldCount(); ++f) {
    auto held = held_blobs_.find({identity, f});
    if (held == held_blobs_.end()) continue;
    int32_t length = static_cast<int32_t>(held->second.size());
    buffer[f] = length > 0 ? 1 : 0;
    std::memcpy(buffer + catalogue_.fields[f].offset, &length, sizeof length);
  }
}

std::string& Table::BlobContent(const BlobKey& key, bool for_writing) {
  auto held = held_blobs_.find(key);
  if (held != held_blobs_.end()) return held->second;
  if (cached_blob_key_ != key) {
    cached_blob_.clear();
    cached_blob_key_ = key;
    if (key.first != 0) {
      sqlite3_stmt* stmt =
          CachedStatement("SELECT " + QuoteName(catalogue_.fields[key.second].name) + " FROM records WHERE rr_id = ?1");
      sqlite3_reset(stmt);
      sqlite3_bind_int(stmt, 1, key.first);
      try {
        if (Step(db_.get(), stmt)) {
          const void* bytes = sqlite3_column_blob(stmt, 0);
          if (bytes) cached_blob_.assign(static_cast<const char*>(bytes), sqlite3_column_bytes(stmt, 0));
        }
      } catch (const EngineError&) {
        cached_blob_key_ = {-1, -1};
        throw;
      }
      sqlite3_reset(stmt);
    }
  }
  if (!for_writing) return cached_blob_;
  return held_blobs_[key] = cached_blob_;
}

int32_t Table::Blob(int32_t operation, int32_t field, int32_t value, int32_t count, int32_t blob_mark,
                    uint8_t* buffer) {
  if (operation == RR_BLOB_OPEN) {
    if (!FieldAt(field).IsBlob()) throw EngineError("Field " + catalogue_.fields[field].name + " is not a blob field");
    FollowWriter();  // a stream reads what is stored now
    if (value < 0 || (value > 0 && !RecordStored(value)))
      throw EngineError("Record " + std::to_string(value) + " does not exist");
    cached_blob_key_ = {-1, -1};  // a new stream reads what is stored now
    auto [entry, added] = blob_mark_of_.try_emplace({value, field}, static_cast<int32_t>(blob_marks_.size()) + 1);
    if (added) blob_marks_.push_back(entry->first);
    return entry->second;
  }
  if (blob_mark < 1 || blob_mark > static_cast<int32_t>(blob_marks_.size()))
    throw EngineError("Blob mark " + std::to_string(blob_mark) + " does not exist");
  const BlobKey key = blob_marks_[blob_mark - 1];
  bool moves_bytes = operation == RR_BLOB_READ || operation == RR_BLOB_WRITE;
  if (moves_bytes && (value < 0 || count < 0 || (count > 0 && !buffer) || count > INT32_MAX - value))
    throw EngineError("Blob position or count out of range");
  switch (operation) {
    case RR_BLOB_READ: {
      const std::string& bytes = BlobContent(key, false);
      size_t start = std::min(bytes.size(), static_cast<size_t>(value));
      size_t moved = std::min(bytes.size() - start, static_cast<size_t>(count));
      if (moved) std::memcpy(buffer, bytes.data() + start, moved);
      return static_cast<int32_t>(moved);
    }
    case RR_BLOB_WRITE: {
      RequireWritable();
      std::string& bytes = BlobContent(key, true);
      if (bytes.size() < static_cast<size_t>(value) + count) bytes.resize(static_cast<size_t>(value) + count);
      if (count) std::memcpy(bytes.data() + value, buffer, count);
      return count;
    }
    case RR_BLOB_TRUNCATE: {
      RequireWritable();
      if (value < 0) throw EngineError("Blob position or count out of range");
      std::string& bytes = BlobContent(key, true);
      if (bytes.size() > static_cast<size_t>(value)) bytes.resize(value);
      return static_cast<int32_t>(bytes.size());
    }
    case RR_BLOB_LENGTH:
      return static_cast<int32_t>(BlobContent(key, false).size());
    default:
      throw EngineError("Blob operation " + std::to_string(operation) + " is unknown");
  }
}

}  // namespace vesk::engine
