// bench_engine: the engine against plain SQLite on address tables of
// 100,000 and 1,000,000 records, each pair of benchmarks in one run, with a
// summary of ratios and goals at the end.

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

#include "bench/engine/bench_tables.h"
#include "bench/engine/engine_benchmarks.h"
#include "bench/engine/plain_benchmarks.h"
#include "bench/engine/ratio_summary.h"
#include "bench/support/run_benchmarks.h"

namespace vesk::bench {
namespace {

using Function = void (*)(benchmark::State&);

struct Work {
  const char* name;
  Function engine;
  Function sqlite;
  std::vector<int64_t> sizes;
  benchmark::TimeUnit unit;
  int repetitions = 1;  // stores wait for the disk: their median of three is steadier
};

constexpr int64_t kSmall = 100000;
constexpr int64_t kLarge = 1000000;

// Reading work first; the stores change the small tables, so they come last.
const Work kWorks[] = {
    {"Open", EngineOpen, PlainOpen, {kSmall, kLarge}, benchmark::kMillisecond},
    {"Scan", EngineScan, PlainScan, {kSmall, kLarge}, benchmark::kMillisecond},
    {"FilteredScan", EngineFilteredScan, PlainFilteredScan, {kSmall, kLarge}, benchmark::kMillisecond},
    {"FilteredCount", EngineFilteredCount, PlainFilteredCount, {kSmall, kLarge}, benchmark::kMillisecond},
    {"LetterFirst", EngineLetterPageFirst, PlainLetterPageFirst, {kSmall, kLarge}, benchmark::kMicrosecond},
    {"LetterLast", EngineLetterPageLast, PlainLetterPageLast, {kSmall, kLarge}, benchmark::kMicrosecond},
    {"Search", EngineSearch, PlainSearch, {kSmall, kLarge}, benchmark::kMicrosecond},
    {"StoreNew", EngineStoreNew, PlainStoreNew, {kSmall}, benchmark::kMicrosecond, 3},
    {"StoreOver", EngineStoreOver, PlainStoreOver, {kSmall}, benchmark::kMicrosecond, 3},
    {"Delete", EngineDelete, PlainDelete, {kSmall}, benchmark::kMicrosecond, 3},
};

void RegisterAll() {
  for (const Work& work : kWorks) {
    for (int64_t size : work.sizes) {
      for (const auto& [side, function] : {std::pair{"/engine", work.engine}, std::pair{"/sqlite", work.sqlite}}) {
        auto* benchmark = benchmark::RegisterBenchmark((work.name + std::string(side)).c_str(), function);
        benchmark->Arg(size)->Unit(work.unit);
        if (work.repetitions > 1) benchmark->Repetitions(work.repetitions);
      }
    }
  }
  for (int64_t size : {kSmall, kLarge})
    benchmark::RegisterBenchmark("CursorMemory/engine", EngineCursorMemory)->Arg(size)->Iterations(1);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  RatioSummary reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll, [&] { reporter.PrintSummary(stdout); }, RemoveTables});
}
