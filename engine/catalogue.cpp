#include "engine/catalogue.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

#include "engine/collation.h"
#include "engine/engine_error.h"
#include "engine/radiridir.h"
#include "engine/sql.h"

namespace vesk::engine {

namespace {

constexpr const char* kLetters = "SIABFRCDMEGL";
constexpr int32_t kMaxTextChars = 4096;
constexpr int32_t kMaxRecordSize = 65535;

int32_t DataSize(const Field& field) {
  switch (field.letter) {
    case 'S': return RR_TEXT_SIZE(field.chars);
    case 'B': return 2;
    case 'F':
    case 'R':
    case 'C':
    case 'D': return 8;
    default: return 4;  // I, A and the blob length
  }
}

const char* ColumnType(char letter) {
  switch (letter) {
    case 'S':
    case 'M':
    case 'E': return "TEXT";
    case 'I':
    case 'A':
    case 'B': return "INTEGER";
    case 'G':
    case 'L': return "BLOB";
    default: return "REAL";
  }
}

std::string LowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string JoinFields(const std::vector<int32_t>& fields) {
  std::string text;
  for (int32_t f : fields) text += (text.empty() ? "" : ",") + std::to_string(f);
  return text;
}

std::vector<int32_t> SplitFields(const std::string& text) {
  std::vector<int32_t> fields;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(start, end - start);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos || part.size() > 5)
      throw EngineError("index field list \"" + text + "\" is not valid", kOpenNotTable);
    fields.push_back(std::stoi(part));
    start = end + 1;
  }
  return fields;
}

void BindOptional(sqlite3_stmt* stmt, int column, const std::optional<std::string>& text) {
  if (text)
    sqlite3_bind_text(stmt, column, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
  else
    sqlite3_bind_null(stmt, column);
}

}  // namespace

bool Field::IsBlob() const { return std::strchr("MEGL", letter) != nullptr; }
bool Field::IsInteger() const { return letter == 'I' || letter == 'A' || letter == 'B'; }

void Catalogue::Validate() {
  if (fields.empty()) throw EngineError("A table needs at least one field", kOpenNotTable);
  std::set<std::string> names{"rr_id"};
  int32_t offset = FieldCount();
  for (Field& field : fields) {
    if (field.name.empty() || field.name.size() > 255)
      throw EngineError("Field names must have 1 to 255 bytes", kOpenNotTable);
    if (!names.insert(LowerAscii(field.name)).second)
      throw EngineError("Field name " + field.name + " is used twice or reserved", kOpenNotTable);
    if (field.letter == 0 || !std::strchr(kLetters, field.letter))
      throw EngineError("Field " + field.name + " has an unknown type letter", kOpenNotTable);
    if (field.IsText() && (field.chars < 1 || field.chars > kMaxTextChars))
      throw EngineError("Text field " + field.name + " needs 1 to 4096 characters", kOpenNotTable);
    field.offset = offset;
    field.size = DataSize(field);
    offset += field.size;
    if (offset > kMaxRecordSize) throw EngineError("Records would exceed 65535 bytes", kOpenNotTable);
  }
  record_size_ = offset;
  std::set<std::string> index_names;
  for (const Index& index : indexes) {
    if (index.name.empty() || index.name.size() > 255)
      throw EngineError("Index names must have 1 to 255 bytes", kOpenNotTable);
    if (!index_names.insert(LowerAscii(index.name)).second)
      throw EngineError("Index name " + index.name + " is used twice", kOpenNotTable);
    if (index.fields.empty()) throw EngineError("Index " + index.name + " has no fields", kOpenNotTable);
    for (int32_t f : index.fields) {
      if (f < 0 || f >= FieldCount())
        throw EngineError("Index " + index.name + " names field " + std::to_string(f) + " which does not exist",
                          kOpenNotTable);
      if (fields[f].IsBlob())
        throw EngineError("Index " + index.name + " cannot hold blob field " + fields[f].name, kOpenNotTable);
    }
  }
}

Catalogue Catalogue::Load(sqlite3* db, const std::string& table_name) {
  Catalogue catalogue;
  try {
    // Which tables the file holds, from the schema SQLite reads here, as
    // SQLite's own lookup tells it without a query.
    auto holds = [&](const char* table) {
      const int rc =
          sqlite3_table_column_metadata(db, "main", table, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
      if (rc == SQLITE_OK) return true;
      if (rc == SQLITE_ERROR && std::string_view(sqlite3_errmsg(db)).starts_with("no such table")) return false;
      throw EngineError(sqlite3_errmsg(db));
    };
    if (!holds("catalogue") || !holds("indexes") || !holds("records"))
      throw EngineError("no field catalogue", kOpenNotTable);
    Statement rows = Prepare(db,
                             "SELECT position, name, letter, chars, required, default_text, min_text, max_text "
                             "FROM catalogue ORDER BY position");
    while (Step(db, rows.get())) {
      if (sqlite3_column_int64(rows.get(), 0) != catalogue.FieldCount())
        throw EngineError("field positions have gaps", kOpenNotTable);
      Field field;
      field.name = ColumnText(rows.get(), 1);
      std::string letter = ColumnText(rows.get(), 2);
      field.letter = letter.size() == 1 ? letter[0] : 0;
      field.chars = static_cast<int32_t>(std::clamp<sqlite3_int64>(sqlite3_column_int64(rows.get(), 3), -1, 1 << 20));
      for (int kind = 0; kind < 4; ++kind) {
        if (sqlite3_column_type(rows.get(), 4 + kind) != SQLITE_NULL)
          field.constraints[kind] = ColumnText(rows.get(), 4 + kind);
      }
      catalogue.fields.push_back(std::move(field));
    }
    Statement indexes = Prepare(db, "SELECT number, name, fields, case_insensitive FROM indexes ORDER BY number");
    while (Step(db, indexes.get())) {
      if (sqlite3_column_int64(indexes.get(), 0) != static_cast<sqlite3_int64>(catalogue.indexes.size()) + 1)
        throw EngineError("index numbers have gaps", kOpenNotTable);
      catalogue.indexes.push_back(Index{ColumnText(indexes.get(), 1), SplitFields(ColumnText(indexes.get(), 2)),
                                        sqlite3_column_int(indexes.get(), 3) != 0});
    }
    if (!catalogue.indexes.empty()) {
      std::set<std::string> held;
      Statement listed = Prepare(db, "PRAGMA index_list(records)");
      while (Step(db, listed.get())) held.insert(ColumnText(listed.get(), 1));
      for (size_t n = 1; n <= catalogue.indexes.size(); ++n)
        catalogue.indexes[n - 1].odd_leads = held.contains(OddLeadsName(static_cast<int32_t>(n)));
    }
    if (holds("properties")) {
      Statement property = Prepare(db, "SELECT key, value FROM properties");
      while (Step(db, property.get())) {
        std::string key = ColumnText(property.get(), 0);
        if (key == "collation_locale") catalogue.collation_locale = ColumnText(property.get(), 1);
        if (key == "collation_version") catalogue.collation_version = ColumnText(property.get(), 1);
      }
    }
    catalogue.Validate();
  } catch (const EngineError& e) {
    if (e.Code() != kOpenNotTable) throw;  // a read failure, not a bad catalogue
    throw EngineError("Table " + table_name + " is not a table: " + e.what(), kOpenNotTable);
  }
  return catalogue;
}

void Catalogue::Write(sqlite3* db) const {
  Exec(db,
       "CREATE TABLE catalogue(position INTEGER PRIMARY KEY, name TEXT NOT NULL, letter TEXT NOT NULL, "
       "chars INTEGER NOT NULL, required TEXT, default_text TEXT, min_text TEXT, max_text TEXT);"
       "CREATE TABLE indexes(number INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, "
       "case_insensitive INTEGER NOT NULL);");
  Statement field_row = Prepare(db, "INSERT INTO catalogue VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
  std::string columns;
  for (int32_t i = 0; i < FieldCount(); ++i) {
    const Field& field = fields[i];
    sqlite3_reset(field_row.get());
    sqlite3_bind_int(field_row.get(), 1, i);
    sqlite3_bind_text(field_row.get(), 2, field.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(field_row.get(), 3, &field.letter, 1, SQLITE_TRANSIENT);
    sqlite3_bind_int(field_row.get(), 4, field.IsText() ? field.chars : 0);
    for (int kind = 0; kind < 4; ++kind) BindOptional(field_row.get(), 5 + kind, field.constraints[kind]);
    Step(db, field_row.get());
    columns += ", " + QuoteName(field.name) + " " + ColumnType(field.letter);
  }
  Exec(db, "CREATE TABLE records(rr_id INTEGER PRIMARY KEY AUTOINCREMENT" + columns + ")");
  for (size_t n = 1; n <= indexes.size(); ++n) WriteIndex(db, static_cast<int32_t>(n));
  WriteTextOrder(db);
}

void Catalogue::WriteIndex(sqlite3* db, int32_t number) const {
  const Index& index = indexes[number - 1];
  Statement index_row = Prepare(db, "INSERT INTO indexes VALUES(?, ?, ?, ?)");
  sqlite3_bind_int(index_row.get(), 1, number);
  sqlite3_bind_text(index_row.get(), 2, index.name.c_str(), -1, SQLITE_TRANSIENT);
  std::string field_list = JoinFields(index.fields);
  sqlite3_bind_text(index_row.get(), 3, field_list.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(index_row.get(), 4, index.case_insensitive ? 1 : 0);
  Step(db, index_row.get());
  Exec(db, "CREATE INDEX index_" + std::to_string(number) + " ON records(" + IndexTerms(number) + ")");
  if (KeepsOddLeads(index)) WriteOddLeads(db, number);
}

bool Catalogue::KeepsOddLeads(const Index& index) const {
  return index.case_insensitive && fields[index.fields.front()].IsText();
}

std::string Catalogue::OddLeadsName(int32_t number) { return "index_" + std::to_string(number) + "_odd"; }

std::string Catalogue::OddLeadsCondition(const Index& index) const {
  // Queries repeat this text as it stands, so that SQLite sees they may use
  // the index; unicode() is NULL for an empty or absent text.
  return "unicode(" + QuoteName(fields[index.fields.front()].name) + ") NOT BETWEEN 32 AND 126";
}

void Catalogue::WriteOddLeads(sqlite3* db, int32_t number) const {
  const Index& index = indexes[static_cast<size_t>(number) - 1];
  const Field& lead = fields[index.fields.front()];
  Exec(db, "CREATE INDEX IF NOT EXISTS " + OddLeadsName(number) + " ON records(" + QuoteName(lead.name) + " COLLATE " +
               kCollationNoCase + ") WHERE " + OddLeadsCondition(index));
}

void Catalogue::WriteTextOrder(sqlite3* db) const {
  Exec(db, "CREATE TABLE IF NOT EXISTS properties(key TEXT PRIMARY KEY, value TEXT NOT NULL)");
  Statement row = Prepare(db, "INSERT OR REPLACE INTO properties VALUES(?, ?)");
  for (auto [key, value] :
       {std::pair{"collation_locale", &collation_locale}, {"collation_version", &collation_version}}) {
    sqlite3_reset(row.get());
    sqlite3_bind_text(row.get(), 1, key, -1, SQLITE_STATIC);
    sqlite3_bind_text(row.get(), 2, value->c_str(), -1, SQLITE_TRANSIENT);
    Step(db, row.get());
  }
}

std::string Catalogue::ColumnList() const {
  std::string list;
  for (const Field& field : fields) list += (list.empty() ? "" : ", ") + QuoteName(field.name);
  return list;
}

std::string Catalogue::IndexTerms(int32_t number) const {
  std::vector<std::string> terms = OrderTerms(number);
  terms.pop_back();  // the identity, which SQLite keeps in every index
  std::string list;
  for (const std::string& term : terms) list += (list.empty() ? "" : ", ") + term;
  return list;
}

std::string Catalogue::From(int32_t index_number) const {
  if (index_number <= 0) return " FROM records";
  return " FROM records INDEXED BY index_" + std::to_string(index_number);
}

std::vector<std::string> Catalogue::OrderTerms(int32_t index_number) const {
  std::vector<std::string> terms;
  if (index_number > 0) {
    const Index& index = indexes[static_cast<size_t>(index_number) - 1];
    for (int32_t f : index.fields) {
      terms.push_back(QuoteName(fields[f].name));
      if (fields[f].IsText())
        terms.back() += std::string(" COLLATE ") + (index.case_insensitive ? kCollationNoCase : kCollationCase);
    }
  }
  terms.emplace_back("rr_id");
  return terms;
}

std::string Catalogue::OrderBy(int32_t index_number, bool descending) const {
  std::string order;
  for (const std::string& term : OrderTerms(index_number))
    order += (order.empty() ? "" : ", ") + term + (descending ? " DESC" : "");
  return order;
}

}  // namespace vesk::engine
