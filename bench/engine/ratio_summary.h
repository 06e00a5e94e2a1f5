// Console output of Google Benchmark plus, at the end, one line per
// benchmark pair: engine time, plain SQLite time, their ratio and the goal.
// Pairs are named "<work>/engine/<records>" and "<work>/sqlite/<records>".
#ifndef VESK_BENCH_ENGINE_RATIO_SUMMARY_H
#define VESK_BENCH_ENGINE_RATIO_SUMMARY_H

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace vesk::bench {

class RatioSummary : public benchmark::ConsoleReporter {
 public:
  RatioSummary();
  void ReportRuns(const std::vector<Run>& runs) override;
  // Prints the pairs' ratios and the absolute goals, and whether all goals are met.
  void PrintSummary(std::FILE* out) const;

 private:
  struct Pair {
    double engine = -1;  // seconds per iteration; < 0 while not measured
    double sqlite = -1;
  };
  std::map<std::pair<std::string, long long>, Pair> pairs_;
  std::map<std::string, double> counters_;  // "<benchmark>:<counter>"
};

}  // namespace vesk::bench

#endif
