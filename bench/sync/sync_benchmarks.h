// The sync's benchmarks, on one Radicale address book of cards or calendar
// of events (the second argument: 0 or 1) written into its storage before
// the run:
//   FirstSync      a first sync into an empty table, state and all;
//   BareClient     the same requests (the sync report, then multigets of
//                  100), the answers neither read nor stored;
//   UnchangedSync  a sync with nothing changed on either side, its requests
//                  counted.
#pragma once

#include <benchmark/benchmark.h>

namespace vesk::bench {

void FirstSync(benchmark::State& state);
void BareClient(benchmark::State& state);
void UnchangedSync(benchmark::State& state);
// Ends the servers and removes their folders and the tables.
void EndSyncBenchmarks();

}  // namespace vesk::bench
