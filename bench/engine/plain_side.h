// Plain SQLite's side of the benchmark: the address table as it would be
// kept without the engine, with the same sync settings (WAL, synchronous
// FULL) and the same ICU text order for the name index.
#ifndef VESK_BENCH_ENGINE_PLAIN_SIDE_H
#define VESK_BENCH_ENGINE_PLAIN_SIDE_H

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "bench/engine/address_data.h"
#include "engine/sql.h"

namespace vesk::bench {

using engine::Statement;

// Column list of the plain table after its id, in field order.
inline constexpr const char* kPlainColumns = "Name, Vorname, Strasse, Ort, PLZ, Telefon, Nummer, Geboren";

void BuildPlainTable(const std::string& path, int64_t count);

// A row copied out of a statement, as the engine copies a record into its buffer.
struct RowCopy {
  char text[6][41];
  int32_t nummer;
  double geboren;
};

class PlainTable {
 public:
  // Opens path; aborts the run when that fails.
  explicit PlainTable(const std::string& path);
  ~PlainTable();
  PlainTable(const PlainTable&) = delete;
  PlainTable& operator=(const PlainTable&) = delete;

  sqlite3* Db() const { return db_; }
  Statement Prepare(const std::string& sql) const;
  // Binds copies of the address's values to parameters first .. first + 7 in field order.
  void Bind(sqlite3_stmt* statement, const Address& address, int first = 1) const;
  // Steps a statement that must give a row (want_row) or finish; aborts otherwise.
  void Step(sqlite3_stmt* statement, bool want_row) const;

 private:
  sqlite3* db_ = nullptr;
};

// Copies columns first .. first + 7 of the current row, in field order.
void CopyRow(sqlite3_stmt* statement, RowCopy& row, int first = 1);

}  // namespace vesk::bench

#endif
