#include "bench/engine/ratio_summary.h"

#include <unistd.h>

#include <cstdlib>

namespace vesk::bench {
namespace {

// Highest acceptable engine / plain SQLite ratio of a work; 0: no goal.
double RatioGoal(const std::string& work) {
  if (work == "Open") return 2.0;
  if (work == "Scan") return 1.5;
  if (work == "Search") return 2.0;
  if (work == "StoreNew" || work == "StoreOver" || work == "Delete") return 1.3;
  return 0;
}

constexpr double kOpenGoalSeconds = 0.2;  // open of 1,000,000 records
constexpr long long kOpenGoalRecords = 1000000;
// Heap growth per record of the larger table over the smaller one: a cursor
// that has not walked keeps nothing per record.
constexpr double kCursorBytesGoal = 0.01;

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

std::string Milliseconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f ms", seconds * 1000);
  return text;
}

}  // namespace

// Colours only on a terminal.
RatioSummary::RatioSummary() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void RatioSummary::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    // With repetitions the median stands for the pair; it is reported after the single runs.
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if ((run.run_type != Run::RT_Iteration && !median) || run.error_occurred || run.iterations == 0) continue;
    const std::string name = run.benchmark_name();
    for (const auto& [counter, value] : run.counters) counters_[name + ":" + counter] = value.value;
    const size_t first = name.find('/');
    const size_t second = name.find('/', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    Pair& pair = pairs_[{name.substr(0, first), std::atoll(name.c_str() + second + 1)}];
    const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
    (name.compare(first, second - first, "/engine") == 0 ? pair.engine : pair.sqlite) = seconds;
  }
  ConsoleReporter::ReportRuns(runs);
}

void RatioSummary::PrintSummary(std::FILE* out) const {
  bool all_met = true;
  std::fprintf(out, "\nEngine against plain SQLite (real time per iteration)\n");
  std::fprintf(out, "%-14s %9s %14s %14s %7s  %s\n", "work", "records", "engine", "sqlite", "ratio", "goal");
  for (const auto& [key, pair] : pairs_) {
    if (pair.engine < 0 || pair.sqlite <= 0) continue;
    const auto& [work, records] = key;
    const double ratio = pair.engine / pair.sqlite;
    std::string goal = "-";
    if (const double limit = RatioGoal(work); limit > 0) {
      goal = "<= " + std::to_string(limit).substr(0, 3) + "x " + Verdict(ratio <= limit);
      all_met = all_met && ratio <= limit;
    }
    std::fprintf(out, "%-14s %9lld %14s %14s %7.2f  %s\n", work.c_str(), records, Milliseconds(pair.engine).c_str(),
                 Milliseconds(pair.sqlite).c_str(), ratio, goal.c_str());
  }
  if (const auto open = pairs_.find({"Open", kOpenGoalRecords}); open != pairs_.end() && open->second.engine >= 0) {
    const bool met = open->second.engine <= kOpenGoalSeconds;
    all_met = all_met && met;
    std::fprintf(out, "open of %lld records to the first record: %.1f ms (goal <= %.0f ms) %s\n", kOpenGoalRecords,
                 open->second.engine * 1000, kOpenGoalSeconds * 1000, Verdict(met));
  }
  std::map<long long, double> growth;  // heap growth across rr_open, by records
  for (const auto& [name, value] : counters_) {
    if (name.rfind("CursorMemory/", 0) != 0) continue;
    const long long records = std::atoll(name.c_str() + name.find('/', name.find('/') + 1) + 1);
    growth[records] = value * static_cast<double>(records);
    std::fprintf(out, "cursor memory (heap growth across rr_open) of %lld records: %.0f bytes\n", records,
                 growth[records]);
  }
  if (growth.size() >= 2) {
    const auto& [fewer, small] = *growth.begin();
    const auto& [more, large] = *growth.rbegin();
    const double per_record = (large - small) / static_cast<double>(more - fewer);
    const bool met = per_record <= kCursorBytesGoal;
    all_met = all_met && met;
    std::fprintf(out, "cursor memory per record, %lld records over %lld: %.4f bytes (goal <= %.2f) %s\n", more, fewer,
                 per_record, kCursorBytesGoal, Verdict(met));
  }
  std::fprintf(out, all_met ? "all goals met\n" : "some goals MISSED\n");
}

}  // namespace vesk::bench
