// Call set-up against SIPp on loopback: from the dial request to the
// connected state, through the telephone line layer and, as the baseline,
// through the SIP library alone, driven at the same 20 ms rhythm.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace vesk::bench {

// Both dial sip:0711@127.0.0.1:port, where SIPp answers at once.
void LayerCallSetup(benchmark::State& state, int port);
void LibraryCallSetup(benchmark::State& state, int port);

}  // namespace vesk::bench
