#include "bench/engine/bench_tables.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "bench/engine/engine_side.h"
#include "bench/engine/plain_side.h"

namespace vesk::bench {
namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesk-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("bench_engine: mkdtemp");
      std::exit(1);
    }
    return pattern;
  }();
  return folder;
}

template <typename Build>
const std::string& Table(std::map<int64_t, std::string>& tables, const char* kind, int64_t count, Build build) {
  auto found = tables.find(count);
  if (found != tables.end()) return found->second;
  const std::string path = Folder() + "/" + kind + "-" + std::to_string(count) + ".mti";
  const auto start = std::chrono::steady_clock::now();
  build(path, count);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "built the %s table of %lld records in %.1f s\n", kind, static_cast<long long>(count),
               took.count());
  return tables.emplace(count, path).first->second;
}

std::map<int64_t, std::string> engine_tables;
std::map<int64_t, std::string> plain_tables;

}  // namespace

const std::string& EngineTablePath(int64_t count) { return Table(engine_tables, "engine", count, BuildEngineTable); }
const std::string& PlainTablePath(int64_t count) { return Table(plain_tables, "sqlite", count, BuildPlainTable); }

void RemoveTables() {
  if (!engine_tables.empty() || !plain_tables.empty()) std::filesystem::remove_all(Folder());
}

}  // namespace vesk::bench
