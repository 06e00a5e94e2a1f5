// bench_filter: filtered walks through TRadiRidir against plain SQLite
// scanning the same rows with the same condition (GLOB, no index), with a
// summary of the per-record ratios and the goal of at most 3x.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/filter/filter_benchmarks.h"
#include "bench/filter/filter_tables.h"
#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"

namespace vesk::bench {
namespace {

constexpr double kRatioGoal = 3.0;

// Each condition's ratio per record, by real time (the goal) and CPU time
// (steadier on a busy machine).
void PrintRatios(const TimesReporter& reporter) {
  std::printf("\nTRadiRidir filtered walk against plain SQLite, per record\n");
  for (const char* condition : {"Name", "Datum"}) {
    for (int64_t records : {10000, 100000}) {
      const std::string suffix = "/" + std::to_string(records);
      const Time* dataset = reporter.Find(condition + std::string("/radiridir") + suffix);
      const Time* plain = reporter.Find(condition + std::string("/sqlite") + suffix);
      if (!dataset || !plain) continue;
      const double ratio = dataset->real / plain->real;
      std::printf("%-6s %7lld records: %7.1f ns against %7.1f ns real, ratio %5.2f (goal <= %.0fx) %s; CPU ratio %5.2f\n",
                  condition, static_cast<long long>(records), dataset->real / records * 1e9,
                  plain->real / records * 1e9, ratio, kRatioGoal, ratio <= kRatioGoal ? "met" : "MISSED",
                  dataset->cpu / plain->cpu);
    }
  }
}

void RegisterAll() {
  const std::pair<const char*, void (*)(benchmark::State&)> works[] = {
      {"Name/radiridir", NameRadiRidir}, {"Name/sqlite", NameSqlite},
      {"Datum/radiridir", DatumRadiRidir}, {"Datum/sqlite", DatumSqlite}};
  for (const auto& [name, function] : works) {
    benchmark::RegisterBenchmark(name, function)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("Prepare/radiridir", PrepareName)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll, [&] { PrintRatios(reporter); }, RemoveFilterTables});
}
