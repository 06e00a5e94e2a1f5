#include "bench/engine/bench_tables.h"

#include "bench/engine/engine_side.h"
#include "bench/engine/plain_side.h"
#include "bench/support/table_folder.h"

namespace vesk::bench {
namespace {

TableFolder& Tables() {
  static TableFolder tables("bench-engine");
  return tables;
}

}  // namespace

const std::string& EngineTablePath(int64_t count) { return Tables().Table("engine", count, BuildEngineTable); }
const std::string& PlainTablePath(int64_t count) { return Tables().Table("sqlite", count, BuildPlainTable); }

void RemoveTables() { Tables().Remove(); }

}  // namespace vesk::bench
