// Thin RAII helpers over the SQLite C interface: statements, execution,
// identifier quoting and the statements kept per connection. Failures throw
// EngineError with SQLite's own text.
#ifndef VESK_ENGINE_SQL_H
#define VESK_ENGINE_SQL_H

#include <sqlite3.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vesk::engine {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

// A prepared statement meant to be kept and run many times.
Statement Prepare(sqlite3* db, std::string_view sql);
// Runs statements that return no rows.
void Exec(sqlite3* db, const std::string& sql);
// Steps once: true on a row, false when done; throws on failure.
bool Step(sqlite3* db, sqlite3_stmt* stmt);
// Runs body in a write transaction: committed when it returns, rolled back
// when it throws.
template <typename Body>
void WriteTransaction(sqlite3* db, Body&& body) {
  Exec(db, "BEGIN IMMEDIATE");
  try {
    body();
    Exec(db, "COMMIT");
  } catch (...) {
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}
// "name" with inner quotes doubled, for column and index names.
std::string QuoteName(std::string_view name);
// Text column as std::string (empty for NULL).
std::string ColumnText(sqlite3_stmt* stmt, int column);

// Statements made from SQL text at run time, prepared once per text and
// kept for the life of the connection.
class StatementCache {
 public:
  StatementCache() = default;
  explicit StatementCache(sqlite3* db) : db_(db) {}
  // The statement for sql, prepared on first use; throws EngineError when
  // SQLite refuses it.
  sqlite3_stmt* Get(const std::string& sql);
  size_t Size() const { return statements_.size(); }

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, Statement> statements_;
};

}  // namespace vesk::engine

#endif
