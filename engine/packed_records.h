// Record buffers kept compactly in memory, their texts to their length: the
// records a scan has found, read again by position as a walk reaches them
// without asking SQLite for each by its identity.
#ifndef VESK_ENGINE_PACKED_RECORDS_H
#define VESK_ENGINE_PACKED_RECORDS_H

#include <cstdint>
#include <vector>

#include "engine/catalogue.h"

namespace vesk::engine {

class PackedRecords {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  void Clear() { bytes_.clear(); }
  // Keeps the record in buffer; its place, or kNone once the store holds
  // as much as it may.
  uint32_t Add(const Catalogue& catalogue, const uint8_t* buffer);
  // The record kept at place into buffer (record size bytes).
  void Read(const Catalogue& catalogue, uint32_t place, uint8_t* buffer) const;
  // Has the memory of the record at place fetched ahead of its Read.
  void Prefetch(uint32_t place) const;

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace vesk::engine

#endif
