// The filter benchmark's work: the pages of the windows (a letter page and a
// category page in name order, a weekday page and the page from a date on in
// date order) through a filtered TRadiRidir, beside plain SQLite querying the
// same rows with the same condition; for each the first record of the page
// just turned to, the count of its records and the walk through them; and
// the preparation of a filter alone.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace vesk::bench {

struct Page {
  const char* name;    // of the benchmarks
  const char* filter;  // the window's filter text
  const char* index;   // the order the window shows
  std::string sql;     // the same condition for plain SQLite
};

// The pages measured, in the order of the summary.
const Page* Pages(size_t* count);

// range(0): records.
void WalkRadiRidir(benchmark::State& state, const Page& page);
// The walk right after turning to the page, which finds its records anew.
void TurnWalkRadiRidir(benchmark::State& state, const Page& page);
void WalkSqlite(benchmark::State& state, const Page& page);
void FirstRadiRidir(benchmark::State& state, const Page& page);
void FirstSqlite(benchmark::State& state, const Page& page);
void CountRadiRidir(benchmark::State& state, const Page& page);
void CountSqlite(benchmark::State& state, const Page& page);
void PrepareName(benchmark::State& state);

}  // namespace vesk::bench
