#include "engine/key_search.h"

#include "engine/collation.h"
#include "engine/record_codec.h"
#include "engine/scan_mapping.h"
#include "runtime/utf8_text.h"

namespace vesk::engine {

namespace {
// Ends a search statement's read however the search ends.
struct ResetOnExit {
  sqlite3_stmt* stmt;
  ~ResetOnExit() { sqlite3_reset(stmt); }
};
}  // namespace

KeySearch::KeySearch(const Catalogue& catalogue, const Database& db, StatementCache& statements, TableOrder& order,
                     RecordTests& tests, std::vector<uint8_t>& candidate)
    : catalogue_(catalogue), db_(db), statements_(statements), order_(order), tests_(tests), candidate_(candidate) {}

bool KeySearch::Matches(const std::vector<int32_t>& fields, const uint8_t* key, int32_t prefix_chars,
                        bool case_insensitive) {
  for (size_t i = 0; i < fields.size(); ++i) {
    int32_t prefix = i + 1 == fields.size() ? prefix_chars : 0;
    if (!FieldMatches(catalogue_, fields[i], candidate_.data(), key, case_insensitive, prefix)) return false;
  }
  return tests_.Accept(candidate_.data());
}

bool KeySearch::SeekWithIndex(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index,
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
  sqlite3_stmt* stmt = statements_.Get("SELECT rr_id, " + catalogue_.ColumnList() + catalogue_.From(index) + where +
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
      if (catalogue_.text_order->Compare(start, prefix, case_insensitive) > 0)
        return false;  // past all records with the prefix
    }
    if (Matches(fields, key, prefix_chars, case_insensitive)) {
      *identity = sqlite3_column_int(stmt, 0);
      return true;
    }
  }
  return false;
}

bool KeySearch::ScanOrder(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                          bool case_insensitive, int32_t* identity) {
  sqlite3_stmt* stmt = statements_.Get("SELECT rr_id, " + catalogue_.ColumnList() + catalogue_.From(index) +
                                       " ORDER BY " + catalogue_.OrderBy(index));
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

bool KeySearch::Find(const std::vector<int32_t>& fields, const uint8_t* key, int32_t index, int32_t prefix_chars,
                     bool case_insensitive, int32_t* identity) {
  MapForScans(db_.get());
  if (index > 0 && catalogue_.IndexServes(index, fields, case_insensitive))
    return SeekWithIndex(fields, key, index, prefix_chars, case_insensitive, identity);
  return ScanOrder(fields, key, index < 0 ? order_.Index() : index, prefix_chars, case_insensitive, identity);
}

}  // namespace vesk::engine
