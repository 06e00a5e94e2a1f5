// bench_exchange: what the exchange formats cost beside the table's own
// work on the same 10,000 records, with the ratios and the goal that the
// format costs no more than the storage (total at most twice the table's),
// each figure the median of five.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "bench/exchange/exchange_benchmarks.h"
#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"

namespace vesk::bench {
namespace {

constexpr int64_t kRecords = 10000;

void PrintRatios(const TimesReporter& reporter) {
  std::printf("\nExchange formats beside the table alone, %lld records\n", static_cast<long long>(kRecords));
  const std::pair<const char*, const char*> pairs[] = {{"ImportVCard", "StoreAddresses"},
                                                       {"ExportICalendar", "ReadAppointments"}};
  const std::string suffix = "/" + std::to_string(kRecords);
  for (const auto& [format, table] : pairs) {
    const Time* with = reporter.Find(format + suffix);
    const Time* without = reporter.Find(table + suffix);
    if (!with || !without) continue;
    const double ratio = with->real / without->real;
    std::printf(
        "%-15s %8.1f ms beside %-16s %8.1f ms: ratio %5.2f, the format alone %5.2f of the table's time "
        "(goal <= 1) %s; CPU ratio %5.2f\n",
        format, with->real * 1e3, table, without->real * 1e3, ratio, ratio - 1, ratio - 1 <= 1 ? "met" : "MISSED",
        with->cpu / without->cpu);
  }
}

void RegisterAll() {
  const std::pair<const char*, void (*)(benchmark::State&)> works[] = {{"ImportVCard", ImportVCardFile},
                                                                       {"StoreAddresses", StoreAddresses},
                                                                       {"ExportICalendar", ExportCalendarFile},
                                                                       {"ReadAppointments", ReadAppointments}};
  // Each takes a tenth of a second or more, so a run holds few iterations
  // and the machine's pace drifts between one and the next: each is timed
  // five times, in turns with the others, and its median stands for it.
  for (const auto& [name, function] : works)
    benchmark::RegisterBenchmark(name, function)
        ->Arg(kRecords)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  // The five timings of all four are taken in random turns, so that a
  // format and its table meet the same pace of the machine.
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll, [&] { PrintRatios(reporter); }, RemoveExchangeTables, true});
}
