// The engine's side of the benchmark: an open table handle and record
// buffers filled from addresses.
#ifndef VESK_BENCH_ENGINE_ENGINE_SIDE_H
#define VESK_BENCH_ENGINE_ENGINE_SIDE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/engine/address_data.h"

namespace vesk::bench {

// Field numbers of the address table, the same in both kinds of table.
enum AddressField : int32_t { kName, kVorname, kStrasse, kOrt, kPlz, kTelefon, kNummer, kGeboren, kFieldCount };

// Creates the engine's address table at path and stores count addresses in one batch.
void BuildEngineTable(const std::string& path, int64_t count);

class EngineTable {
 public:
  // Opens path for writing; aborts the run when that fails.
  explicit EngineTable(const std::string& path);
  ~EngineTable();
  EngineTable(const EngineTable&) = delete;
  EngineTable& operator=(const EngineTable&) = delete;

  int32_t Handle() const { return h_; }
  int32_t Offset(AddressField field) const { return offsets_[field]; }
  std::vector<uint8_t>& Buffer() { return buffer_; }
  // A blank record with the address's values in Buffer().
  void Fill(const Address& address);
  // Closes the table and opens it again, as a window does.
  void Reopen();

 private:
  std::string path_;
  int32_t h_ = 0;
  int32_t offsets_[kFieldCount] = {};
  std::vector<uint8_t> buffer_;
};

std::array<uint8_t, 256> LengthPrefixed(const std::string& text);
// Sets text field `field` of a record buffer (the text must fit).
void SetText(uint8_t* record, int32_t field, int32_t offset, const std::string& text);

// Stops the run with the engine's error text when ok is false.
void Check(int32_t h, bool ok, const char* what);

}  // namespace vesk::bench

#endif
