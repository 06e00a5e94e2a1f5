// bench_filter: the pages of the windows through a filtered TRadiRidir
// against plain SQLite querying the same rows with the same condition
// through its index: the first record of a page just turned to, the count
// of its records and the walk through them (again, and right after turning
// to the page), with a summary of the ratios
// and the goals (first record under 1 ms, count within 2x, walk within
// 1.5x of SQLite).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/filter/filter_benchmarks.h"
#include "bench/filter/filter_tables.h"
#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"

namespace vesk::bench {
namespace {

constexpr int64_t kRecordCounts[] = {100000, 1000000};

struct Figure {
  const char* name;
  void (*radiridir)(benchmark::State&, const Page&);
  void (*sqlite)(benchmark::State&, const Page&);
  double ratio_goal;
};

constexpr Figure kFigures[] = {{"First", FirstRadiRidir, FirstSqlite, 0},
                               {"Count", CountRadiRidir, CountSqlite, 2.0},
                               {"Walk", WalkRadiRidir, WalkSqlite, 1.5},
                               {"TurnWalk", TurnWalkRadiRidir, WalkSqlite, 1.5}};

// Each page's figures against plain SQLite, by real time (the goals) and
// CPU time (steadier on a busy machine).
void PrintRatios(const TimesReporter& reporter) {
  std::printf("\nTRadiRidir pages against plain SQLite\n");
  size_t count = 0;
  const Page* pages = Pages(&count);
  for (const Page* page = pages; page != pages + count; ++page) {
    for (const Figure& figure : kFigures) {
      for (int64_t records : kRecordCounts) {
        const std::string name = std::string(page->name) + figure.name;
        const std::string suffix = "/" + std::to_string(records);
        const Time* dataset = reporter.Find(name + "/radiridir" + suffix);
        const Time* plain = reporter.Find(name + "/sqlite" + suffix);
        if (!dataset || !plain) continue;
        const double ratio = dataset->real / plain->real;
        const bool met = figure.ratio_goal > 0 ? ratio <= figure.ratio_goal : dataset->real < 1e-3;
        std::printf("%-16s %7lld records: %10.1f us against %10.1f us real, ratio %7.2f (%s); CPU ratio %7.2f\n",
                    name.c_str(), static_cast<long long>(records), dataset->real * 1e6, plain->real * 1e6, ratio,
                    met ? "goal met" : "goal MISSED", dataset->cpu / plain->cpu);
      }
    }
  }
}

void RegisterAll() {
  size_t count = 0;
  const Page* pages = Pages(&count);
  for (const Page* page = pages; page != pages + count; ++page) {
    for (const Figure& figure : kFigures) {
      for (const auto& [side, function] : {std::pair{"/radiridir", figure.radiridir}, {"/sqlite", figure.sqlite}}) {
        const std::string name = std::string(page->name) + figure.name + side;
        auto* benchmark = benchmark::RegisterBenchmark(name.c_str(), [function, page](benchmark::State& state) {
                            function(state, *page);
                          })->Unit(benchmark::kMicrosecond);
        for (int64_t records : kRecordCounts) benchmark->Arg(records);
      }
    }
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
