// Call set-up against SIPp on loopback: from the double click in the address
// window, or the dial request of the telephone line layer, to the connected
// state, beside the SIP library alone as the baseline, driven at the same
// 20 ms rhythm.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace vesk::bench {

// All dial 0711 at 127.0.0.1:port, where SIPp answers at once. The window
// is the address window, from the double click on the number to
// "Verbunden: " in its status bar.
void WindowCallSetup(benchmark::State& state, int port);
void LayerCallSetup(benchmark::State& state, int port);
void LibraryCallSetup(benchmark::State& state, int port);

}  // namespace vesk::bench
