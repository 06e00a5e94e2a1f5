// Google Benchmark's console output that also remembers the real and CPU
// seconds per iteration of each benchmark by name, so that a benchmark
// program can print the ratios of its pairs at the end. With repetitions
// the median stands for the benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vesk::bench {

struct Time {
  double real = 0;  // seconds per iteration
  double cpu = 0;
};

class TimesReporter : public benchmark::ConsoleReporter {
 public:
  TimesReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      if (run.run_type != Run::RT_Iteration && run.aggregate_name != "median") continue;
      const auto iterations = static_cast<double>(run.iterations);
      const Time time{run.real_accumulated_time / iterations, run.cpu_accumulated_time / iterations};
      times_[run.run_name.function_name] = time;
      if (!run.run_name.args.empty()) times_[run.run_name.function_name + "/" + run.run_name.args] = time;
    }
  }
  // The time of the named benchmark ("Scan/engine", "Name/sqlite/10000"),
  // or nullptr when it did not run.
  const Time* Find(const std::string& name) const {
    const auto found = times_.find(name);
    return found == times_.end() ? nullptr : &found->second;
  }

 private:
  std::map<std::string, Time> times_;
};

}  // namespace vesk::bench
