// bench_filter: filtered walks through TRadiRidir against plain SQLite
// querying the same rows with the same condition through its index, with a
// summary of the per-record ratios and the goal of at most 3x; and the first
// record and the count of a page beside the same query in plain SQLite.
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
constexpr int64_t kRecordCounts[] = {10000, 100000, 1000000};

// Each condition's ratio per record, by real time (the goal) and CPU time
// (steadier on a busy machine).
void PrintRatios(const TimesReporter& reporter) {
  std::printf("\nTRadiRidir filtered walk against plain SQLite, per record\n");
  for (const char* condition : {"Name", "Datum"}) {
    for (int64_t records : kRecordCounts) {
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

// The first record and the count of each page, against plain SQLite.
void PrintPageFigures(const TimesReporter& reporter) {
  std::printf("\nTRadiRidir first record and count of a page against plain SQLite\n");
  for (const char* figure : {"NameFirst", "NameCount", "DatumFirst", "DatumCount"}) {
    for (int64_t records : kRecordCounts) {
      const std::string suffix = "/" + std::to_string(records);
      const Time* dataset = reporter.Find(figure + std::string("/radiridir") + suffix);
      const Time* plain = reporter.Find(figure + std::string("/sqlite") + suffix);
      if (!dataset || !plain) continue;
      std::printf("%-10s %7lld records: %10.1f us against %10.1f us real, ratio %7.2f; CPU ratio %7.2f\n", figure,
                  static_cast<long long>(records), dataset->real * 1e6, plain->real * 1e6, dataset->real / plain->real,
                  dataset->cpu / plain->cpu);
    }
  }
}

void RegisterAll() {
  const std::pair<const char*, void (*)(benchmark::State&)> works[] = {
      {"Name/radiridir", NameRadiRidir}, {"Name/sqlite", NameSqlite},
      {"Datum/radiridir", DatumRadiRidir}, {"Datum/sqlite", DatumSqlite},
      {"NameFirst/radiridir", NameFirstRadiRidir}, {"NameFirst/sqlite", NameFirstSqlite},
      {"NameCount/radiridir", NameCountRadiRidir}, {"NameCount/sqlite", NameCountSqlite},
      {"DatumFirst/radiridir", DatumFirstRadiRidir}, {"DatumFirst/sqlite", DatumFirstSqlite},
      {"DatumCount/radiridir", DatumCountRadiRidir}, {"DatumCount/sqlite", DatumCountSqlite}};
  for (const auto& [name, function] : works) {
    auto* benchmark = benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
    for (int64_t records : kRecordCounts) benchmark->Arg(records);
  }
  benchmark::RegisterBenchmark("Prepare/radiridir", PrepareName)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll,
                                                  [&] {
                                                    PrintRatios(reporter);
                                                    PrintPageFigures(reporter);
                                                  },
                                                  RemoveFilterTables});
}
