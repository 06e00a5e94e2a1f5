#include "engine/sql.h"

#include "engine/engine_error.h"

namespace vesk::engine {

Statement Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  if (rc != SQLITE_OK) throw EngineError(sqlite3_errmsg(db));
  return Statement(stmt);
}

void Exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw EngineError(text);
  }
}

bool Step(sqlite3* db, sqlite3_stmt* stmt) {
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  std::string text = sqlite3_errmsg(db);
  sqlite3_reset(stmt);
  throw EngineError(text);
}

std::string QuoteName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, column));
}

sqlite3_stmt* StatementCache::Get(const std::string& sql) {
  Statement& stmt = statements_[sql];
  if (!stmt) stmt = Prepare(db_, sql);
  return stmt.get();
}

}  // namespace vesk::engine
