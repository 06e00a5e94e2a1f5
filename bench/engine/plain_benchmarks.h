// Plain SQLite's half of each benchmark pair: the same work as the engine's
// half, on the equivalent plain table; state.range(0) is the record count.
#ifndef VESK_BENCH_ENGINE_PLAIN_BENCHMARKS_H
#define VESK_BENCH_ENGINE_PLAIN_BENCHMARKS_H

#include <benchmark/benchmark.h>

namespace vesk::bench {

void PlainOpen(benchmark::State& state);
void PlainScan(benchmark::State& state);
void PlainFilteredScan(benchmark::State& state);
void PlainFilteredCount(benchmark::State& state);
void PlainLetterPageFirst(benchmark::State& state);
void PlainLetterPageLast(benchmark::State& state);
void PlainSearch(benchmark::State& state);
void PlainStoreNew(benchmark::State& state);
void PlainStoreOver(benchmark::State& state);
void PlainDelete(benchmark::State& state);

}  // namespace vesk::bench

#endif
