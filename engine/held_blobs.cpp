#include "engine/held_blobs.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/engine_error.h"
#include "engine/radiridir.h"

namespace vesk::engine {

namespace {
void CheckRange(int32_t position, int32_t count, const uint8_t* buffer) {
  if (position < 0 || count < 0 || (count > 0 && !buffer) || count > INT32_MAX - position)
    throw EngineError("Blob position or count out of range");
}
}  // namespace

HeldBlobs::HeldBlobs(const Catalogue& catalogue, StoredReader read_stored, WriteCheck require_writable)
    : catalogue_(catalogue), read_stored_(std::move(read_stored)), require_writable_(std::move(require_writable)) {}

int32_t HeldBlobs::Open(int32_t identity, int32_t field) {
  cached_key_ = {-1, -1};  // a new stream reads what is stored now
  auto [entry, added] = mark_of_.try_emplace({identity, field}, static_cast<int32_t>(marks_.size()) + 1);
  if (added) marks_.push_back(entry->first);
  return entry->second;
}

HeldBlobs::Key HeldBlobs::Named(int32_t blob_mark) const {
  if (blob_mark < 1 || blob_mark > static_cast<int32_t>(marks_.size()))
    throw EngineError("Blob mark " + std::to_string(blob_mark) + " does not exist");
  return marks_[static_cast<size_t>(blob_mark) - 1];
}

std::string& HeldBlobs::Content(const Key& key, bool for_writing) {
  auto held = held_.find(key);
  if (held != held_.end()) return held->second;
  if (cached_key_ != key) {
    cached_key_ = {-1, -1};
    cached_ = key.first != 0 ? read_stored_(key) : std::string();
    cached_key_ = key;
  }
  if (!for_writing) return cached_;
  return held_[key] = cached_;
}

int32_t HeldBlobs::Stream(int32_t operation, int32_t blob_mark, int32_t value, int32_t count, uint8_t* buffer) {
  const Key key = Named(blob_mark);
  switch (operation) {
    case RR_BLOB_READ: return Read(key, value, count, buffer);
    case RR_BLOB_WRITE: return Write(key, value, count, buffer);
    case RR_BLOB_TRUNCATE: return Truncate(key, value);
    case RR_BLOB_LENGTH: return static_cast<int32_t>(Content(key, false).size());
    default: throw EngineError("Blob operation " + std::to_string(operation) + " is unknown");
  }
}

int32_t HeldBlobs::Read(const Key& key, int32_t position, int32_t count, uint8_t* buffer) {
  CheckRange(position, count, buffer);
  const std::string& bytes = Content(key, false);
  size_t start = std::min(bytes.size(), static_cast<size_t>(position));
  size_t moved = std::min(bytes.size() - start, static_cast<size_t>(count));
  if (moved) std::memcpy(buffer, bytes.data() + start, moved);
  return static_cast<int32_t>(moved);
}

int32_t HeldBlobs::Write(const Key& key, int32_t position, int32_t count, const uint8_t* buffer) {
  CheckRange(position, count, buffer);
  require_writable_();
  std::string& bytes = Content(key, true);
  size_t end = static_cast<size_t>(position) + static_cast<size_t>(count);
  if (bytes.size() < end) bytes.resize(end);
  if (count) std::memcpy(bytes.data() + position, buffer, static_cast<size_t>(count));
  return count;
}

int32_t HeldBlobs::Truncate(const Key& key, int32_t length) {
  require_writable_();
  if (length < 0) throw EngineError("Blob position or count out of range");
  std::string& bytes = Content(key, true);
  if (bytes.size() > static_cast<size_t>(length)) bytes.resize(static_cast<size_t>(length));
  return static_cast<int32_t>(bytes.size());
}

void HeldBlobs::Bind(sqlite3_stmt* stmt, int parameter, int32_t field, int32_t identity) const {
  auto held = held_.find({identity, field});
  if (held == held_.end() || held->second.empty()) {
    sqlite3_bind_null(stmt, parameter);
    return;
  }
  const std::string& bytes = held->second;
  char letter = catalogue_.fields[static_cast<size_t>(field)].letter;
  if (letter == 'M' || letter == 'E')
    sqlite3_bind_text(stmt, parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  else
    sqlite3_bind_blob(stmt, parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

void HeldBlobs::Show(int32_t identity, uint8_t* buffer) const {
  if (held_.empty()) return;
  for (int32_t f = 0; f < catalogue_.FieldCount(); ++f) {
    auto held = held_.find({identity, f});
    if (held == held_.end()) continue;
    int32_t length = static_cast<int32_t>(held->second.size());
    buffer[f] = length > 0 ? 1 : 0;
    std::memcpy(buffer + catalogue_.fields[static_cast<size_t>(f)].offset, &length, sizeof length);
  }
}

void HeldBlobs::Drop(int32_t identity) {
  std::erase_if(held_, [identity](const auto& entry) { return entry.first.first == identity; });
}

}  // namespace vesk::engine
