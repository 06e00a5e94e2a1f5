#include "bench/dataset/scan_table.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "bench/support/table_folder.h"
#include "engine/radiridir.h"
#include "tools/table/RadiRidirText.h"

namespace vesk::bench {

namespace {

TableFolder& Tables() {
  static TableFolder tables("bench-dataset");
  return tables;
}

void Put(int32_t h, uint8_t* record, int32_t field, const void* value, size_t size) {
  int32_t offset = 0, fieldSize = 0;
  uint8_t letter = 0;
  rr_field_info(h, field, &offset, &fieldSize, &letter);
  std::memcpy(record + offset, value, std::min(size, static_cast<size_t>(fieldSize) - (letter == 'S')));
  record[field] = 1;
}

void Build(const std::string& path, int64_t records) {
  const rr_field_spec fields[] = {
      {"Name", 'S', 30, nullptr, nullptr, nullptr, nullptr}, {"Vorname", 'S', 30, nullptr, nullptr, nullptr, nullptr},
      {"Ort", 'S', 30, nullptr, nullptr, nullptr, nullptr},  {"PLZ", 'S', 5, nullptr, nullptr, nullptr, nullptr},
      {"Alter", 'I', 0, nullptr, nullptr, nullptr, nullptr}, {"Telefon", 'S', 20, nullptr, nullptr, nullptr, nullptr},
  };
  const int32_t h = rr_new(0);
  if (rr_create(h, path.c_str(), fields, 6, nullptr, 0) < 0) throw std::runtime_error("cannot create " + path);
  if (rr_open(h, ToEngineText(path).data(), RR_MODE_READ_WRITE) < 0) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(h)));
  const char* cities[] = {"Berlin", "München", "Köln", "Hamburg", "Düsseldorf"};
  rr_batch_begin(h);
  for (int64_t i = 0; i < records; ++i) {
    rr_blank_record(h, record.data());
    const std::string last = "Müller" + std::to_string(i);
    const std::string first = "Anna" + std::to_string(i % 977);
    const std::string phone = "0221 " + std::to_string(100000 + i);
    const int32_t age = static_cast<int32_t>(18 + i % 70);
    Put(h, record.data(), 0, last.data(), last.size());
    Put(h, record.data(), 1, first.data(), first.size());
    Put(h, record.data(), 2, cities[i % 5], std::strlen(cities[i % 5]));
    Put(h, record.data(), 3, "50667", 5);
    Put(h, record.data(), 4, &age, 4);
    Put(h, record.data(), 5, phone.data(), phone.size());
    rr_put_buffer(h, record.data());
    if (!rr_store_new(h)) throw std::runtime_error("cannot store a record");
  }
  rr_batch_commit(h);
  rr_free(h);
}

}  // namespace

const std::string& ScanTable(int64_t records) { return Tables().Table("scan", records, Build); }

void RemoveScanTables() { Tables().Remove(); }

}  // namespace vesk::bench
