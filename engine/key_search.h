// Finds the first record whose key fields equal those of a key record: an
// index whose leading fields are the key fields serves a seek, otherwise the
// records are scanned in order. Found records must pass the record tests.
#ifndef VESK_ENGINE_KEY_SEARCH_H
#define VESK_ENGINE_KEY_SEARCH_H

#include <cstdint>
#include <vector>

#include "engine/catalogue.h"
#include "engine/record_tests.h"
#include "engine/sql.h"
#include "engine/table_order.h"

namespace vesk::engine {

class KeySearch {
 public:
  // The parts of the table a search reads; candidate holds the record
  // looked at, and after a find the record found.
  KeySearch(const Catalogue& catalogue, const Database& db, StatementCache& statements, TableOrder& order,
            RecordTests& tests, std::vector<uint8_t>& candidate);

  // Searches the order of index (negative: the cursor's own order) for
  // key; the last key field matches on its first prefix_chars characters
  // when that is positive. True with the identity found.
  bool Find(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
            bool case_insensitive, int32_t* identity);

 private:
  bool Matches(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars, bool case_insensitive);
  bool SeekWithIndex(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                     bool case_insensitive, int32_t* identity);
  bool ScanOrder(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                 bool case_insensitive, int32_t* identity);

  const Catalogue& catalogue_;
  const Database& db_;
  StatementCache& statements_;
  TableOrder& order_;
  RecordTests& tests_;
  std::vector<uint8_t>& candidate_;
};

}  // namespace vesk::engine

#endif
