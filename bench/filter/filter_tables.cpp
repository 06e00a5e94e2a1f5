#include "bench/filter/filter_tables.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "bench/engine/address_data.h"
#include "bench/support/table_folder.h"
#include "engine/radiridir.h"
#include "tools/table/RadiRidirText.h"

namespace vesk::bench {
namespace {

struct Row {
  Address address;
  std::string kategorie;
  double datum, uhrzeit;
};

constexpr const char* kKategorien[] = {"Privat", "Geschäft",    "Verein", "Familie",
                                       "Kunden", "Lieferanten", "Ärzte",  "Schule"};

// Dates spread over 2023 to 2028, about half of them from 2026 on, at a
// quarter hour of the day; one record in eight in each category.
Row MakeRow(int64_t number) {
  return {MakeAddress(static_cast<uint64_t>(number)), kKategorien[number * 5 % 8],
          45000.0 + static_cast<double>(number * 7919 % 2000), static_cast<double>(number * 37 % 96) / 96.0};
}

// Writes the values of a row into engine records at the fields' offsets.
class RecordWriter {
 public:
  explicit RecordWriter(int32_t h) : h_(h), record_(static_cast<size_t>(rr_record_size(h))) {
    for (int32_t field = 0; field < rr_field_count(h); ++field) {
      int32_t offset = 0, size = 0;
      uint8_t letter = 0;
      rr_field_info(h, field, &offset, &size, &letter);
      // Text fields keep room for their terminator.
      fields_.push_back({offset, letter == 'S' ? size - 1 : size});
    }
  }
  void Begin() { rr_blank_record(h_, record_.data()); }
  void Set(int32_t field, const void* value, size_t size) {
    const auto [offset, room] = fields_[static_cast<size_t>(field)];
    std::memcpy(record_.data() + offset, value, std::min(size, static_cast<size_t>(room)));
    record_[static_cast<size_t>(field)] = 1;
  }
  void Set(int32_t field, const std::string& text) { Set(field, text.data(), text.size()); }
  bool Store() { return rr_put_buffer(h_, record_.data()) && rr_store_new(h_); }

 private:
  int32_t h_;
  std::vector<uint8_t> record_;
  std::vector<std::pair<int32_t, int32_t>> fields_;  // offset, bytes of room
};

void BuildEngine(const std::string& path, int64_t records) {
  const rr_field_spec fields[] = {
      {"Name", 'S', 40, nullptr, nullptr, nullptr, nullptr}, {"Vorname", 'S', 30, nullptr, nullptr, nullptr, nullptr},
      {"Ort", 'S', 30, nullptr, nullptr, nullptr, nullptr},  {"Kategorie", 'S', 30, nullptr, nullptr, nullptr, nullptr},
      {"Datum", 'D', 0, nullptr, nullptr, nullptr, nullptr}, {"Uhrzeit", 'D', 0, nullptr, nullptr, nullptr, nullptr},
  };
  // The orders of the windows: by name without regard to case, by date and time.
  const int32_t name_fields[] = {0, 1};
  const int32_t date_fields[] = {4, 5};
  const rr_index_spec indexes[] = {{"NameIx", name_fields, 2, 1}, {"DatumUhrzeit", date_fields, 2, 0}};
  const int32_t h = rr_new(0);
  if (rr_create(h, path.c_str(), fields, 6, indexes, 2) < 0) throw std::runtime_error("cannot create " + path);
  if (rr_open(h, ToEngineText(path).data(), RR_MODE_READ_WRITE) < 0) throw std::runtime_error("cannot open " + path);
  RecordWriter writer(h);
  rr_batch_begin(h);
  for (int64_t i = 0; i < records; ++i) {
    const Row row = MakeRow(i);
    writer.Begin();
    writer.Set(0, row.address.name);
    writer.Set(1, row.address.vorname);
    writer.Set(2, row.address.ort);
    writer.Set(3, row.kategorie);
    writer.Set(4, &row.datum, sizeof row.datum);
    writer.Set(5, &row.uhrzeit, sizeof row.uhrzeit);
    if (!writer.Store()) throw std::runtime_error("cannot store a record");
  }
  rr_batch_commit(h);
  rr_free(h);
}

void Exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
}

void BuildPlain(const std::string& path, int64_t records) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  Exec(db,
       "CREATE TABLE adressen(id INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT, Ort TEXT, Kategorie TEXT, "
       "Datum REAL, Uhrzeit REAL)");
  Exec(db, "BEGIN");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(
      db, "INSERT INTO adressen(Name, Vorname, Ort, Kategorie, Datum, Uhrzeit) VALUES (?1, ?2, ?3, ?4, ?5, ?6)", -1,
      &insert, nullptr);
  for (int64_t i = 0; i < records; ++i) {
    const Row row = MakeRow(i);
    sqlite3_bind_text(insert, 1, row.address.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, row.address.vorname.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, row.address.ort.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 4, row.kategorie.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 5, row.datum);
    sqlite3_bind_double(insert, 6, row.uhrzeit);
    if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  // The indexes a page query of each condition uses.
  Exec(db,
       "CREATE INDEX adressen_name ON adressen(Name COLLATE NOCASE); CREATE INDEX adressen_datum ON adressen(Datum, "
       "Uhrzeit)");
  Exec(db, "COMMIT");
  sqlite3_close(db);
}

TableFolder& Tables() {
  static TableFolder tables("bench-filter");
  return tables;
}

}  // namespace

const std::string& EngineFilterTable(int64_t records) { return Tables().Table("engine", records, BuildEngine, ".mti"); }

const std::string& PlainFilterTable(int64_t records) { return Tables().Table("sqlite", records, BuildPlain); }

void RemoveFilterTables() { Tables().Remove(); }

}  // namespace vesk::bench
