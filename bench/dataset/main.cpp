// bench_dataset: a scan of every record through TRadiRidir, reading three
// fields per record with FieldByName, beside the engine's own scan (rr_next
// and rr_get_record) of the same table in the same run; the ratio of the two
// is printed at the end (goal: at most 2). Each runs five times; the
// medians are compared. Then paging as the grid does through tables of
// 10,000 and 100,000 records, filtered and not: the cost of a page of the
// filtered table must not grow with the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/dataset/grid_paging.h"
#include "bench/dataset/scan_table.h"
#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"
#include "engine/radiridir.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirText.h"

namespace vesk::bench {
namespace {

constexpr int64_t kRecords = 100000;

void EngineScan(benchmark::State& state) {
  const std::string& path = ScanTable(state.range(0));
  const int32_t h = rr_new(0);
  rr_open(h, ToEngineText(path).data(), RR_MODE_READ_ONLY);
  std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(h)));
  for (auto _ : state) {
    int64_t count = 0;
    for (rr_first(h); !rr_eof(h); rr_next(h)) {
      rr_get_record(h, record.data());
      benchmark::DoNotOptimize(record.data());
      ++count;
    }
    if (count != state.range(0)) state.SkipWithError("wrong record count");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  rr_free(h);
}

void DatasetScan(benchmark::State& state) {
  TRadiRidir table;
  table.SetTableName(ScanTable(state.range(0)));
  table.SetReadOnly(true);
  table.Open();
  for (auto _ : state) {
    int64_t count = 0;
    for (table.First(); !table.Eof(); table.Next()) {
      benchmark::DoNotOptimize(table.FieldByName("Name")->AsString());
      benchmark::DoNotOptimize(table.FieldByName("Ort")->AsString());
      benchmark::DoNotOptimize(table.FieldByName("Alter")->AsInteger());
      ++count;
    }
    if (count != state.range(0)) state.SkipWithError("wrong record count");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The CPU time decides: on a shared machine the real time includes waiting.
void PrintRatios(const TimesReporter& reporter) {
  const Time* dataset = reporter.Find("Scan/dataset");
  const Time* engine = reporter.Find("Scan/engine");
  if (dataset && engine) {
    const double real = dataset->real / engine->real;
    const double cpu = dataset->cpu / engine->cpu;
    std::printf("Scan of %lld records, dataset / engine: CPU %.2f, real %.2f (goal <= 2.00) %s\n",
                static_cast<long long>(kRecords), cpu, real, cpu <= 2.0 ? "met" : "NOT MET");
  }
  const Time* small = reporter.Find("GridPaging/10000/1");
  const Time* large = reporter.Find("GridPaging/100000/1");
  const Time* plain = reporter.Find("GridPaging/100000/0");
  if (!small || !large || !plain) return;
  std::printf(
      "Paging, CPU per page: filtered 100,000 / filtered 10,000 %.2f; filtered / unfiltered "
      "100,000 %.2f\n",
      large->cpu / small->cpu, large->cpu / plain->cpu);
}

void RegisterAll() {
  benchmark::RegisterBenchmark("Scan/engine", EngineScan)->Arg(kRecords)->Unit(benchmark::kMillisecond)->Repetitions(5);
  benchmark::RegisterBenchmark("Scan/dataset", DatasetScan)
      ->Arg(kRecords)
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5);
  for (int64_t records : {int64_t{10000}, kRecords})
    for (int64_t filtered : {0, 1})
      benchmark::RegisterBenchmark("GridPaging", GridPaging)
          ->Args({records, filtered})
          ->Unit(benchmark::kMicrosecond)
          ->Repetitions(5);
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter, {RegisterAll, [&] { PrintRatios(reporter); }, RemoveScanTables});
}
