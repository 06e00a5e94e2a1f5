#include "engine/statement_cache.h"

namespace vesk::engine {

sqlite3_stmt* StatementCache::Get(const std::string& sql) {
  Statement& stmt = statements_[sql];
  if (!stmt) stmt = Prepare(db_, sql);
  return stmt.get();
}

}  // namespace vesk::engine
