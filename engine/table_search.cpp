// Search for the first record whose key fields equal those of a key record:
// an index whose leading fields are the key fields is used for a seek,
// otherwise the records are scanned in order.
#include <cstring>

#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/record_codec.h"
#include "engine/table.h"
#include "runtime/utf8_text.h"

namespace vesk::engine {

namespace {
// Ends a search statement's read however the search ends.
struct ResetOnExit {
  sqlite3_stmt* stmt;
  ~ResetOnExit() { sqlite3_reset(stmt); }
};
}  // namespace

bool Table::Matches(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars,
                    bool case_insensitive) {
  for (size_t i = 0; i < fields.size(); ++i) {
    int32_t prefix = i + 1 == fields.size() ? prefix_chars : 0;
    if (!FieldMatches(catalogue_, fields[i], candidate_.data(), key, case_insensitive, prefix)) return false;
  }
  return Accepted();
}

bool Table::SeekWithIndex(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index,
                          int32_t prefix_chars, bool case_insensitive, int32_t* identity) {
  const char* collation = case_insensitive ? kCollationNoCase : kCollationCase;
  int32_t last = fields.back();
  const Field& last_field = catalogue_.fields[last];
  std::string prefix;
  bool by_prefix = prefix_chars > 0 && last_field.IsText() && IsPresent(last, key);
  if (by_prefix) prefix = Utf8Prefix(TextOf(last_field, key), prefix_chars);
  std::string where;
  for (size_t i = 0; i < fields.size(); ++i) {
    const Field& field = catalogue_.fields[fields[i]];
    bool range = by_prefix && i + 1 == fields.size();
    if (range && prefix.empty()) break;
    where += std::string(where.empty() ? " WHERE " : " AND ") + QuoteName(field.name) + (range ? " >= ?" : " IS ?") +
             std::to_string(i + 1) + (field.IsText() ? std::string(" COLLATE ") + collation : "");
  }
  sqlite3_stmt* stmt = CachedStatement("SELECT rr_id, " + catalogue_.ColumnList() + catalogue_.From(index) + where +
                                       " ORDER BY " + catalogue_.OrderBy(index));
  sqlite3_reset(stmt);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (by_prefix && i + 1 == fields.size())
      sqlite3_bind_text(stmt, static_cast<int>(i) + 1, prefix.data(), static_cast<int>(prefix.size()), SQLITE_STATIC);
    else
      BindField(stmt, static_cast<int>(i) + 1, catalogue_, fields[i], key);
  }
  ResetOnExit reset{stmt};
  while (Step(db_.get(), stmt)) {
    DecodeRecord(catalogue_, stmt, 1, candidate_.data());
    if (by_prefix && !prefix.empty()) {
      std::string_view start = Utf8Prefix(TextOf(last_field, candidate_.data()), Utf8Length(prefix));
      if (catalogue_.text_order->Compare(start, prefix, case_insensitive) > 0) return false;  // past all records with the prefix
    }
    if (Matches(fields, key, prefix_chars, case_insensitive)) {
      *identity = sqlite3_column_int(stmt, 0);
      return true;
    }
  }
  return false;
}

bool Table::ScanCursor(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars,
                       bool case_insensitive, int32_t* identity) {
  for (size_t p = 0; p < ids_.Size(); ++p) {
    reader_.ReadAt(ids_, p, candidate_.data());
    if (Matches(fields, key, prefix_chars, case_insensitive)) {
      *identity = ids_.At(p);
      return true;
    }
  }
  reader_.Reset();
  return false;
}

bool Table::ScanOrder(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                      bool case_insensitive, int32_t* identity) {
  sqlite3_stmt* stmt =
      CachedStatement("SELECT rr_id, " + catalogue_.ColumnList() + catalogue_.From(index) + " ORDER BY " +
                      catalogue_.OrderBy(index));
  sqlite3_reset(stmt);
  ResetOnExit reset{stmt};
  while (Step(db_.get(), stmt)) {
    DecodeRecord(catalogue_, stmt, 1, candidate_.data());
    if (Matches(fields, key, prefix_chars, case_insensitive)) {
      *identity = sqlite3_column_int(stmt, 0);
      return true;
    }
  }
  return false;
}

bool Table::Search(const std::vector<int32_t>& fields, uint8_t* key, int32_t index, int32_t partial_length,
                   bool case_insensitive, bool move) {
  RequireOutsideTest();
  FollowWriter();
  if (fields.empty()) throw EngineError("A search needs at least one key field");
  for (int32_t f : fields) {
    if (FieldAt(f).IsBlob()) throw EngineError("Blob field " + catalogue_.fields[f].name + " cannot be a key");
  }
  if (index > static_cast<int32_t>(catalogue_.indexes.size()))
    throw EngineError("Index number " + std::to_string(index) + " out of range");
  int32_t prefix_chars = partial_length > 0 ? partial_length : 0;
  int32_t identity = 0;
  bool found;
  if (index > 0 && IndexServes(index, fields, case_insensitive))
    found = SeekWithIndex(fields, key, index, prefix_chars, case_insensitive, &identity);
  else if (index < 0 || index == index_)
    found = ScanCursor(fields, key, prefix_chars, case_insensitive, &identity);
  else
    found = ScanOrder(fields, key, index, prefix_chars, case_insensitive, &identity);
  if (!found) return false;
  if (!move) {
    std::memcpy(key, candidate_.data(), candidate_.size());
    return true;
  }
  size_t p = ids_.Find(identity, index_ == 0);
  if (p == IdSequence::kNotFound) throw EngineError("Record " + std::to_string(identity) + " is not in the cursor");
  StandOn(p);
  return true;
}

}  // namespace vesk::engine
