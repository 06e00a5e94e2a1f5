// The filter benchmark's work: a filtered walk through TRadiRidir and plain
// SQLite scanning the same rows with the same condition, for the Name and
// the Datum condition; and the preparation of a filter alone.
#pragma once

#include <benchmark/benchmark.h>

namespace vesk::bench {

// range(0): records.
void NameRadiRidir(benchmark::State& state);
void NameSqlite(benchmark::State& state);
void DatumRadiRidir(benchmark::State& state);
void DatumSqlite(benchmark::State& state);
void PrepareName(benchmark::State& state);

}  // namespace vesk::bench
