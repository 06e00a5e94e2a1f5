#include "engine/order_bound.h"

#include "engine/engine_error.h"
#include "engine/scan_mapping.h"

namespace vesk::engine {

namespace {
// Of the records in the order.
constexpr const char* kNamed = " AND rr_id <> 0";
}  // namespace

void OrderRanges::Prepare(sqlite3* db, const Catalogue& catalogue, int32_t index_number) {
  db_ = db;
  from_ = catalogue.From(index_number);
  ascending_ = catalogue.OrderBy(index_number);
  descending_ = catalogue.OrderBy(index_number, true);
  terms_ = catalogue.OrderTerms(index_number);
  key_columns_.clear();
  if (index_number > 0) {
    for (int32_t f : catalogue.indexes[static_cast<size_t>(index_number) - 1].fields)
      key_columns_ += QuoteName(catalogue.fields[f].name) + ", ";
  }
  statements_ = StatementCache(db);
}

bool OrderRanges::KeyOf(int32_t identity, OrderKey* key) {
  sqlite3_stmt* stmt = statements_.Get("SELECT " + key_columns_ + "rr_id FROM records WHERE rr_id = ?1");
  sqlite3_reset(stmt);
  sqlite3_bind_int(stmt, 1, identity);
  const bool found = Step(db_, stmt);
  if (found) {
    key->values.clear();
    for (size_t i = 0; i + 1 < terms_.size(); ++i)
      key->values.emplace_back(sqlite3_value_dup(sqlite3_column_value(stmt, static_cast<int>(i))));
    key->identity = identity;
  }
  sqlite3_reset(stmt);
  return found;
}

// Going forward, the ranges are those sharing the key's first i terms and
// coming after it in term i, from the last term (the identity) back to the
// first. Going back the same, each split in two where the term may be
// absent: the values before the key's, then the absent ones.
size_t OrderRanges::RangeCount(bool forward) const { return forward ? terms_.size() : terms_.size() * 2; }

std::string OrderRanges::Condition(const OrderKey& key, bool forward, size_t range, size_t* bound) const {
  const size_t term = terms_.size() - 1 - (forward ? range : range / 2);
  const bool absent_part = !forward && range % 2 == 1;
  const bool key_absent = term < key.values.size() && sqlite3_value_type(key.values[term].get()) == SQLITE_NULL;
  // Nothing sorts before an absent value, and the identity is never absent.
  if (!forward && (key_absent || (absent_part && term + 1 == terms_.size()))) return {};
  std::string where;
  for (size_t t = 0; t < term; ++t) where += terms_[t] + " IS ?" + std::to_string(t + 1) + " AND ";
  *bound = term;
  if (absent_part) return where + terms_[term] + " IS NULL";
  if (forward && key_absent) return where + terms_[term] + " IS NOT NULL";
  *bound = term + 1;
  return where + terms_[term] + (forward ? " > ?" : " < ?") + std::to_string(term + 1);
}

void OrderRanges::Bind(sqlite3_stmt* stmt, const OrderKey& key, size_t bound) const {
  for (size_t t = 0; t < bound; ++t) {
    if (t < key.values.size())
      sqlite3_bind_value(stmt, static_cast<int>(t) + 1, key.values[t].get());
    else
      sqlite3_bind_int(stmt, static_cast<int>(t) + 1, key.identity);
  }
}

sqlite3_stmt* OrderRanges::Range(const OrderKey& key, bool forward, size_t range) {
  const std::string order = " ORDER BY " + (forward ? ascending_ : descending_);
  if (key.Whole()) {
    if (range > 0) return nullptr;
    sqlite3_stmt* stmt = statements_.Get("SELECT rr_id" + from_ + order);
    sqlite3_reset(stmt);
    return stmt;
  }
  size_t bound = 0;
  const std::string condition = Condition(key, forward, range, &bound);
  if (condition.empty()) return nullptr;
  sqlite3_stmt* stmt = statements_.Get("SELECT rr_id" + from_ + " WHERE " + condition + order);
  sqlite3_reset(stmt);
  Bind(stmt, key, bound);
  return stmt;
}

int64_t OrderRanges::CountBefore(const OrderKey& key) {
  if (key.Whole()) return 0;
  MapForScans(db_);
  int64_t count = 0;
  for (size_t range = 0; range < RangeCount(false); ++range) {
    size_t bound = 0;
    const std::string condition = Condition(key, false, range, &bound);
    if (condition.empty()) continue;
    sqlite3_stmt* stmt = statements_.Get("SELECT count(*)" + from_ + " WHERE " + condition + kNamed);
    sqlite3_reset(stmt);
    Bind(stmt, key, bound);
    Step(db_, stmt);
    count += sqlite3_column_int64(stmt, 0);
    sqlite3_reset(stmt);
  }
  return count;
}

bool OrderRanges::StepRange(sqlite3_stmt* stmt) {
  while (Step(db_, stmt)) {
    if (!IsNoIdentity(sqlite3_column_int(stmt, 0))) return true;
  }
  sqlite3_reset(stmt);
  return false;
}

int64_t OrderRanges::CountAll() {
  MapForScans(db_);
  // Each count on its own, so that SQLite counts the whole table from its
  // pages alone.
  sqlite3_stmt* stmt =
      statements_.Get("SELECT (SELECT count(*) FROM records) - (SELECT count(*) FROM records WHERE rr_id = 0)");
  sqlite3_reset(stmt);
  Step(db_, stmt);
  const int64_t count = sqlite3_column_int64(stmt, 0);
  sqlite3_reset(stmt);
  return count;
}

int32_t OrderRanges::IdentityAt(int64_t number) {
  MapForScans(db_);
  sqlite3_stmt* stmt = statements_.Get("SELECT rr_id" + from_ + " WHERE true" + kNamed + " ORDER BY " + ascending_ +
                                       " LIMIT 1 OFFSET ?1");
  sqlite3_reset(stmt);
  sqlite3_bind_int64(stmt, 1, number);
  const int32_t identity = Step(db_, stmt) ? sqlite3_column_int(stmt, 0) : 0;
  sqlite3_reset(stmt);
  return identity;
}

}  // namespace vesk::engine
