// The benchmark's tables: for each size one engine table and one plain
// SQLite table of the same addresses, built on first use in a temporary
// folder that RemoveTables deletes.
#ifndef VESK_BENCH_ENGINE_BENCH_TABLES_H
#define VESK_BENCH_ENGINE_BENCH_TABLES_H

#include <cstdint>
#include <string>

namespace vesk::bench {

const std::string& EngineTablePath(int64_t count);
const std::string& PlainTablePath(int64_t count);
void RemoveTables();

}  // namespace vesk::bench

#endif
