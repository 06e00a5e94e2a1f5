#include "bench/engine/plain_side.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vesk::bench {
namespace {

[[noreturn]] void Fail(sqlite3* db, const char* what) {
  std::fprintf(stderr, "bench_engine: %s failed: %s\n", what, db != nullptr ? sqlite3_errmsg(db) : "out of memory");
  std::exit(1);
}

void Execute(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db, sql);
}

int CompareIcu(void* collator, int length_a, const void* a, int length_b, const void* b) {
  UErrorCode status = U_ZERO_ERROR;
  return ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(a), length_a,
                          static_cast<const char*>(b), length_b, &status);
}

void CloseIcu(void* collator) { ucol_close(static_cast<UCollator*>(collator)); }

}  // namespace

PlainTable::PlainTable(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    Fail(db_, "sqlite3_open_v2");
  }
  UErrorCode status = U_ZERO_ERROR;
  UCollator* collator = ucol_open("", &status);
  if (U_FAILURE(status) ||
      sqlite3_create_collation_v2(db_, "vesk_icu", SQLITE_UTF8, collator, CompareIcu, CloseIcu) != SQLITE_OK) {
    Fail(db_, "the ICU collation");
  }
  Execute(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
}

PlainTable::~PlainTable() { sqlite3_close(db_); }

Statement PlainTable::Prepare(const std::string& sql) const {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) Fail(db_, sql.c_str());
  return Statement(statement);
}

void PlainTable::Bind(sqlite3_stmt* statement, const Address& address, int first) const {
  const std::string* texts[] = {&address.name, &address.vorname, &address.strasse,
                                &address.ort,  &address.plz,     &address.telefon};
  for (int i = 0; i < 6; ++i) {
    sqlite3_bind_text(statement, first + i, texts[i]->data(), static_cast<int>(texts[i]->size()), SQLITE_TRANSIENT);
  }
  sqlite3_bind_int(statement, first + 6, address.nummer);
  sqlite3_bind_double(statement, first + 7, address.geboren);
}

void PlainTable::Step(sqlite3_stmt* statement, bool want_row) const {
  const int result = sqlite3_step(statement);
  if (result != (want_row ? SQLITE_ROW : SQLITE_DONE)) Fail(db_, sqlite3_sql(statement));
}

void CopyRow(sqlite3_stmt* statement, RowCopy& row, int first) {
  for (int i = 0; i < 6; ++i) {
    const size_t length = std::min<size_t>(static_cast<size_t>(sqlite3_column_bytes(statement, first + i)), 40);
    std::memcpy(row.text[i], sqlite3_column_text(statement, first + i), length);
    row.text[i][length] = 0;
  }
  row.nummer = sqlite3_column_int(statement, first + 6);
  row.geboren = sqlite3_column_double(statement, first + 7);
}

void BuildPlainTable(const std::string& path, int64_t count) {
  PlainTable table(path);
  Execute(table.Db(),
          "CREATE TABLE adressen(id INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT COLLATE vesk_icu, Vorname TEXT, "
          "Strasse TEXT, Ort TEXT, PLZ TEXT, Telefon TEXT, Nummer INTEGER, Geboren REAL)");
  Execute(table.Db(), "BEGIN");
  Statement insert = table.Prepare(std::string("INSERT INTO adressen(") + kPlainColumns + ") VALUES (?,?,?,?,?,?,?,?)");
  for (int64_t i = 0; i < count; ++i) {
    table.Bind(insert.get(), MakeAddress(static_cast<uint64_t>(i)));
    table.Step(insert.get(), false);
    sqlite3_reset(insert.get());
  }
  Execute(table.Db(), "CREATE INDEX adressen_name ON adressen(Name); COMMIT");
}

}  // namespace vesk::bench
