// The benchmarks of bench_exchange, each on 10,000 records (range(0)): a
// vCard file imported into an empty address table beside the same
// addresses stored without the format, and the appointments table
// exported as iCalendar beside the same records read without the format.
#pragma once

#include <benchmark/benchmark.h>

namespace vesk::bench {

void ImportVCardFile(benchmark::State& state);
void StoreAddresses(benchmark::State& state);
void ExportCalendarFile(benchmark::State& state);
void ReadAppointments(benchmark::State& state);
void RemoveExchangeTables();

}  // namespace vesk::bench
