// Statements made from SQL text at run time, prepared once per text and
// kept for the life of the connection.
#ifndef VESK_ENGINE_STATEMENT_CACHE_H
#define VESK_ENGINE_STATEMENT_CACHE_H

#include <string>
#include <unordered_map>

#include "engine/sql.h"

namespace vesk::engine {

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
