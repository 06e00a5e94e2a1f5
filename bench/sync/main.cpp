// bench_sync: a first sync of 5,000 cards, and one of 5,000 events, from
// Radicale beside a bare client making the same requests (goal: within 1.5
// times its time), and a
// sync with nothing changed (goal: one request, under 50 ms of this
// program's own time, the main thread's CPU time; Qt Network's own thread
// and the server are not in it).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>

#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"
#include "bench/sync/sync_benchmarks.h"

namespace vesk::bench {
namespace {

constexpr int64_t kCards = 5000;

void PrintRatios(const TimesReporter& reporter) {
  for (const auto& [kind, what] : {std::pair{0, "cards"}, {1, "events"}}) {
    const std::string suffix = "/" + std::to_string(kCards) + "/" + std::to_string(kind);
    const Time* first = reporter.Find("FirstSync" + suffix);
    const Time* bare = reporter.Find("BareClient" + suffix);
    if (!first || !bare) continue;
    const double ratio = first->real / bare->real;
    std::printf("\nFirst sync of %lld %s %8.1f ms beside the bare client's %8.1f ms: ratio %4.2f (goal <= 1.5) %s\n",
                static_cast<long long>(kCards), what, first->real * 1e3, bare->real * 1e3, ratio,
                ratio <= 1.5 ? "met" : "MISSED");
  }
  if (const Time* unchanged = reporter.Find("UnchangedSync/" + std::to_string(kCards) + "/0"))
    std::printf("Unchanged sync: %6.1f ms in all, %6.1f ms of its own CPU time (goal < 50) %s\n", unchanged->real * 1e3,
                unchanged->cpu * 1e3, unchanged->cpu < 0.05 ? "met" : "MISSED");
}

void RegisterAll() {
  const std::pair<const char*, void (*)(benchmark::State&)> works[] = {
      {"FirstSync", FirstSync}, {"BareClient", BareClient}, {"UnchangedSync", UnchangedSync}};
  // A first sync takes seconds: each is timed three times, in turns, and
  // its median stands for it.
  for (const auto& [name, function] : works)
    benchmark::RegisterBenchmark(name, function)
        ->Args({kCards, 0})
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
  for (const auto& [name, function] : {works[0], works[1]})
    benchmark::RegisterBenchmark(name, function)
        ->Args({kCards, 1})
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  QCoreApplication application(argc, argv);
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll, [&] { PrintRatios(reporter); }, EndSyncBenchmarks, true});
}
