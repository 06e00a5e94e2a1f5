// The address window opened through AdrExecute of the Tools library, loaded
// as the host loads it, until its first record shows in the name field; the
// address table holds state.range(0) records, built on first use.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace vesk::bench {

// Loads the library from the program folder, the current one.
bool LoadTools(std::string* error);
void OpenAddressWindow(benchmark::State& state);

}  // namespace vesk::bench
