// A place in the order of an index between records: just beyond a record
// with given key values and identity, or the start or end of the order.
// From it, the identities beyond it come one by one, one range along the
// index after another, each of which SQLite seeks in O(log n); and the
// records before it are counted range by range along the index alone.
// Counting and finding a record by its number walk the index: they map the
// file for it (see MapForScans).
// Absent values (NULL) sort first, as in SQLite's indexes.
#ifndef VESK_ENGINE_ORDER_BOUND_H
#define VESK_ENGINE_ORDER_BOUND_H

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/sql.h"

namespace vesk::engine {

struct ValueFree {
  void operator()(sqlite3_value* value) const { sqlite3_value_free(value); }
};
using KeptValue = std::unique_ptr<sqlite3_value, ValueFree>;

// Identity 0 names no record: a row of it, which only a file not written
// by the engine can hold, is left out of the order and its counts, as the
// moves could not tell it from the end of the order.
inline bool IsNoIdentity(int64_t identity) { return identity == 0; }

// A record's key: its values of the index's fields, and its identity. No
// values and identity 0: the start (going forward) or end (going back).
struct OrderKey {
  std::vector<KeptValue> values;
  int32_t identity = 0;

  bool Whole() const { return identity == 0; }
};

// The SQL of the ranges beyond keys in the order of one index.
class OrderRanges {
 public:
  void Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number);
  // The key of the stored record identity; false when none is stored.
  bool KeyOf(int32_t identity, OrderKey* key);
  // The order of identities: a key has no values.
  bool IdentityOnly() const { return terms_.size() == 1; }
  // The ranges beyond key going forward or back, in the order they come.
  // Each range's statement is bound and ready to step; it yields rr_id.
  size_t RangeCount(bool forward) const;
  sqlite3_stmt* Range(const OrderKey& key, bool forward, size_t range);
  // Steps a range's statement: true on a row; at its end it is reset.
  bool StepRange(sqlite3_stmt* stmt);
  // Records before key (none for the start).
  int64_t CountBefore(const OrderKey& key);
  // The identity at 0-based position number, or 0 beyond the end.
  int32_t IdentityAt(int64_t number);
  int64_t CountAll();

 private:
  // The condition of range (forward: after key, else before it) and how many
  // of the leading terms it binds.
  std::string Condition(const OrderKey& key, bool forward, size_t range, size_t* bound) const;
  void Bind(sqlite3_stmt* stmt, const OrderKey& key, size_t bound) const;

  sqlite3* db_ = nullptr;
  std::string from_;
  std::string ascending_, descending_;
  std::vector<std::string> terms_;  // the index's fields, then rr_id
  std::string key_columns_;         // the index's fields, each followed by a comma
  StatementCache statements_;
};

}  // namespace vesk::engine

#endif
