#include "engine/packed_records.h"

#include <cstring>

namespace vesk::engine {

namespace {
// Enough for the records of a page of a large table; beyond it, the rest
// are read by their identities.
constexpr size_t kMostBytes = 32u << 20;
}  // namespace

uint32_t PackedRecords::Add(const Catalogue& catalogue, const uint8_t* buffer) {
  if (bytes_.size() >= kMostBytes) return kNone;
  const auto place = static_cast<uint32_t>(bytes_.size());
  // The presence bytes, then each present value: a text with its
  // terminator, any other value whole.
  const auto count = static_cast<size_t>(catalogue.FieldCount());
  bytes_.insert(bytes_.end(), buffer, buffer + count);
  for (size_t i = 0; i < count; ++i) {
    if (buffer[i] == 0) continue;
    const Field& field = catalogue.fields[i];
    const uint8_t* value = buffer + field.offset;
    size_t size = static_cast<size_t>(field.size);
    if (field.IsText()) size = strnlen(reinterpret_cast<const char*>(value), size);
    bytes_.insert(bytes_.end(), value, value + size);
    if (field.IsText()) bytes_.push_back(0);
  }
  return place;
}

void PackedRecords::Read(const Catalogue& catalogue, uint32_t place, uint8_t* buffer) const {
  std::memset(buffer, 0, static_cast<size_t>(catalogue.RecordSize()));
  const uint8_t* at = bytes_.data() + place;
  const auto count = static_cast<size_t>(catalogue.FieldCount());
  std::memcpy(buffer, at, count);
  at += count;
  for (size_t i = 0; i < count; ++i) {
    if (buffer[i] == 0) continue;
    const Field& field = catalogue.fields[i];
    size_t size = static_cast<size_t>(field.size);
    if (field.IsText()) size = std::strlen(reinterpret_cast<const char*>(at));
    std::memcpy(buffer + field.offset, at, size);
    at += size + (field.IsText() ? 1 : 0);
  }
}

void PackedRecords::Prefetch(uint32_t place) const {
  // The presence bytes and the first values: most records are that short.
  for (size_t line = 0; line < 2 && place + line * 64 < bytes_.size(); ++line)
    __builtin_prefetch(bytes_.data() + place + line * 64);
}

}  // namespace vesk::engine
