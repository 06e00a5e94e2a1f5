// bench_dataset: a scan of every record through TRadiRidir, reading three
// fields per record with FieldByName, beside the engine's own scan (rr_next
// and rr_get_record) of the same table in the same run; the ratio of the two
// is printed at the end (goal: at most 2). Each runs five times; the
// medians are compared. Then paging as the grid does through tables of
// 10,000 and 100,000 records, filtered and not: the cost of a page of the
// filtered table must not grow with the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/dataset/grid_paging.h"
#include "bench/dataset/scan_table.h"
#include "engine/radiridir.h"
#include "toolkit/field.h"
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

// The console output, and the real and CPU time of each benchmark by name.
class TimesReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median stands for the benchmark.
    for (const Run& run : runs)
      if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
        for (const std::string& name : {run.run_name.function_name, run.run_name.function_name + "/" + run.run_name.args})
          times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
  }
  // The CPU time decides: on a shared machine the real time includes waiting.
  void PrintRatio() const {
    const auto dataset = times_.find("Scan/dataset");
    const auto engine = times_.find("Scan/engine");
    if (dataset == times_.end() || engine == times_.end()) return;
    const double real = dataset->second.first / engine->second.first;
    const double cpu = dataset->second.second / engine->second.second;
    std::printf("Scan of %lld records, dataset / engine: CPU %.2f, real %.2f (goal <= 2.00) %s\n",
                static_cast<long long>(kRecords), cpu, real, cpu <= 2.0 ? "met" : "NOT MET");
    const auto small = times_.find("GridPaging/10000/1");
    const auto large = times_.find("GridPaging/100000/1");
    const auto plain = times_.find("GridPaging/100000/0");
    if (small == times_.end() || large == times_.end() || plain == times_.end()) return;
    std::printf("Paging, CPU per page: filtered 100,000 / filtered 10,000 %.2f; filtered / unfiltered "
                "100,000 %.2f\n",
                large->second.second / small->second.second, large->second.second / plain->second.second);
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;  // real, CPU
};

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark("Scan/engine", EngineScan)->Arg(kRecords)->Unit(benchmark::kMillisecond)->Repetitions(5);
  benchmark::RegisterBenchmark("Scan/dataset", DatasetScan)->Arg(kRecords)->Unit(benchmark::kMillisecond)->Repetitions(5);
  for (int64_t records : {int64_t{10000}, kRecords})
    for (int64_t filtered : {0, 1})
      benchmark::RegisterBenchmark("GridPaging", GridPaging)
          ->Args({records, filtered})
          ->Unit(benchmark::kMicrosecond)
          ->Repetitions(5);
  TimesReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio();
  RemoveScanTables();
  benchmark::Shutdown();
  return 0;
}
