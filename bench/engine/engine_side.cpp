#include "bench/engine/engine_side.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/radiridir.h"

namespace vesk::bench {

std::array<uint8_t, 256> LengthPrefixed(const std::string& text) {
  std::array<uint8_t, 256> result{};
  result[0] = static_cast<uint8_t>(std::min<size_t>(text.size(), 255));
  std::memcpy(result.data() + 1, text.data(), result[0]);
  return result;
}

void SetText(uint8_t* record, int32_t field, int32_t offset, const std::string& text) {
  std::memcpy(record + offset, text.data(), text.size());
  record[offset + static_cast<int32_t>(text.size())] = 0;
  record[field] = 1;
}

namespace {

template <typename T>
void SetNumber(uint8_t* record, int32_t field, int32_t offset, T value) {
  std::memcpy(record + offset, &value, sizeof value);
  record[field] = 1;
}

}  // namespace

void Check(int32_t h, bool ok, const char* what) {
  if (ok) return;
  std::array<uint8_t, 256> text{};
  rr_last_error(text.data(), h, 1);
  std::fprintf(stderr, "bench_engine: %s failed: %.*s\n", what, text[0],
               reinterpret_cast<const char*>(text.data() + 1));
  std::exit(1);
}

void BuildEngineTable(const std::string& path, int64_t count) {
  const rr_field_spec fields[kFieldCount] = {
      {"Name", 'S', 40, nullptr, nullptr, nullptr, nullptr},
      {"Vorname", 'S', 30, nullptr, nullptr, nullptr, nullptr},
      {"Strasse", 'S', 40, nullptr, nullptr, nullptr, nullptr},
      {"Ort", 'S', 30, nullptr, nullptr, nullptr, nullptr},
      {"PLZ", 'S', 5, nullptr, nullptr, nullptr, nullptr},
      {"Telefon", 'S', 20, nullptr, nullptr, nullptr, nullptr},
      {"Nummer", 'I', 0, nullptr, nullptr, nullptr, nullptr},
      {"Geboren", 'D', 0, nullptr, nullptr, nullptr, nullptr},
  };
  const int32_t name_field[] = {kName};
  const rr_index_spec indexes[] = {{"Name", name_field, 1, 0}};
  const int32_t h = rr_new(0);
  Check(h, h != 0, "rr_new");
  Check(h, rr_create(h, path.c_str(), fields, kFieldCount, indexes, 1) >= 0, "rr_create");
  rr_free(h);
  EngineTable table(path);
  Check(table.Handle(), rr_batch_begin(table.Handle()), "rr_batch_begin");
  for (int64_t i = 0; i < count; ++i) {
    table.Fill(MakeAddress(static_cast<uint64_t>(i)));
    Check(table.Handle(), rr_put_buffer(table.Handle(), table.Buffer().data()) && rr_store_new(table.Handle()),
          "rr_store_new");
  }
  Check(table.Handle(), rr_batch_commit(table.Handle()), "rr_batch_commit");
}

EngineTable::EngineTable(const std::string& path) : path_(path) {
  h_ = rr_new(0);
  Check(h_, h_ != 0, "rr_new");
  Reopen();
  for (int32_t field = 0; field < kFieldCount; ++field) {
    int32_t size = 0;
    uint8_t letter = 0;
    Check(h_, rr_field_info(h_, field, &offsets_[field], &size, &letter), "rr_field_info");
  }
  buffer_.assign(static_cast<size_t>(rr_record_size(h_)), 0);
}

EngineTable::~EngineTable() { rr_free(h_); }

void EngineTable::Reopen() {
  if (rr_is_open(h_)) rr_close(h_);
  Check(h_, rr_open(h_, LengthPrefixed(path_).data(), RR_MODE_READ_WRITE) >= 0, "rr_open");
}

void EngineTable::Fill(const Address& address) {
  uint8_t* record = buffer_.data();
  Check(h_, rr_blank_record(h_, record), "rr_blank_record");
  SetText(record, kName, offsets_[kName], address.name);
  SetText(record, kVorname, offsets_[kVorname], address.vorname);
  SetText(record, kStrasse, offsets_[kStrasse], address.strasse);
  SetText(record, kOrt, offsets_[kOrt], address.ort);
  SetText(record, kPlz, offsets_[kPlz], address.plz);
  SetText(record, kTelefon, offsets_[kTelefon], address.telefon);
  SetNumber(record, kNummer, offsets_[kNummer], address.nummer);
  SetNumber(record, kGeboren, offsets_[kGeboren], address.geboren);
}

}  // namespace vesk::bench
