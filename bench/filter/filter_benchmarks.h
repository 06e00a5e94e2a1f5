// The filter benchmark's work: a filtered walk through TRadiRidir and plain
// SQLite scanning the same rows with the same condition, for the Name and
// the Datum condition, the first record and the count of each; and the preparation of a filter alone.
#pragma once

#include <benchmark/benchmark.h>

namespace vesk::bench {

// range(0): records.
void NameRadiRidir(benchmark::State& state);
void NameSqlite(benchmark::State& state);
void DatumRadiRidir(benchmark::State& state);
void DatumSqlite(benchmark::State& state);
// The first record of a page just turned to, and the count of its records.
void NameFirstRadiRidir(benchmark::State& state);
void NameFirstSqlite(benchmark::State& state);
void NameCountRadiRidir(benchmark::State& state);
void NameCountSqlite(benchmark::State& state);
void DatumFirstRadiRidir(benchmark::State& state);
void DatumFirstSqlite(benchmark::State& state);
void DatumCountRadiRidir(benchmark::State& state);
void DatumCountSqlite(benchmark::State& state);
void PrepareName(benchmark::State& state);

}  // namespace vesk::bench
