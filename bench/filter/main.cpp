// bench_filter: filtered walks through TRadiRidir against plain SQLite
// scanning the same rows with the same condition (GLOB, no index), with a
// summary of the per-record ratios and the goal of at most 3x.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench/filter/filter_benchmarks.h"
#include "bench/filter/filter_tables.h"

namespace vesk::bench {
namespace {

constexpr double kRatioGoal = 3.0;

// Console output, and the real time per iteration of each benchmark by name.
class Times : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
        seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

// Prints each condition's ratio; false when one misses the goal.
bool PrintRatios(const Times& times) {
  bool met = true;
  std::printf("\nTRadiRidir filtered walk against plain SQLite (real time per record)\n");
  for (const char* condition : {"Name", "Datum"}) {
    for (int64_t records : {10000, 100000}) {
      const std::string suffix = "/" + std::to_string(records);
      const auto dataset = times.seconds.find(condition + std::string("/radiridir") + suffix);
      const auto plain = times.seconds.find(condition + std::string("/sqlite") + suffix);
      if (dataset == times.seconds.end() || plain == times.seconds.end()) continue;
      const double ratio = dataset->second / plain->second;
      met = met && ratio <= kRatioGoal;
      std::printf("%-6s %7lld records: %8.1f ns against %8.1f ns, ratio %5.2f (goal <= %.0fx) %s\n", condition,
                  static_cast<long long>(records), dataset->second / records * 1e9, plain->second / records * 1e9,
                  ratio, kRatioGoal, ratio <= kRatioGoal ? "met" : "MISSED");
    }
  }
  return met;
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::pair<const char*, void (*)(benchmark::State&)> works[] = {
      {"Name/radiridir", NameRadiRidir}, {"Name/sqlite", NameSqlite},
      {"Datum/radiridir", DatumRadiRidir}, {"Datum/sqlite", DatumSqlite}};
  for (const auto& [name, function] : works) {
    benchmark::RegisterBenchmark(name, function)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("Prepare/radiridir", PrepareName)->Arg(100000)->Unit(benchmark::kMicrosecond);
  Times times;
  benchmark::RunSpecifiedBenchmarks(&times);
  PrintRatios(times);
  RemoveFilterTables();
  benchmark::Shutdown();
  return 0;
}
