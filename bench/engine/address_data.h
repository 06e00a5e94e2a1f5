// Address-like records for the engine benchmark: the same record for the
// same number in every run, so engine and plain SQLite tables hold equal data.
#ifndef VESK_BENCH_ENGINE_ADDRESS_DATA_H
#define VESK_BENCH_ENGINE_ADDRESS_DATA_H

#include <cstdint>
#include <string>

namespace vesk::bench {

struct Address {
  std::string name, vorname, strasse, ort, plz, telefon;
  int32_t nummer = 0;  // uniform in [0, 1,000,000): "nummer % 100 == 0" accepts 1 %
  double geboren = 0;  // days since 30.12.1899
};

Address MakeAddress(uint64_t number);

// Whether the benchmark's record test accepts a record with this number.
inline bool Accepted(int32_t nummer) { return nummer % 100 == 0; }

}  // namespace vesk::bench

#endif
