// The engine's half of each benchmark pair; state.range(0) is the table's
// record count.
#ifndef VESK_BENCH_ENGINE_ENGINE_BENCHMARKS_H
#define VESK_BENCH_ENGINE_ENGINE_BENCHMARKS_H

#include <benchmark/benchmark.h>

namespace vesk::bench {

void EngineOpen(benchmark::State& state);
void EngineScan(benchmark::State& state);
void EngineFilteredScan(benchmark::State& state);
void EngineFilteredCount(benchmark::State& state);
// The first and the last record of the letter page "M" in name order.
void EngineLetterPageFirst(benchmark::State& state);
void EngineLetterPageLast(benchmark::State& state);
void EngineSearch(benchmark::State& state);
void EngineStoreNew(benchmark::State& state);
void EngineStoreOver(benchmark::State& state);
void EngineDelete(benchmark::State& state);
// Heap growth across rr_open, per record: counter "bytes_per_record".
void EngineCursorMemory(benchmark::State& state);

}  // namespace vesk::bench

#endif
