#include "bench/filter/filter_benchmarks.h"

#include <sqlite3.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "bench/filter/filter_tables.h"
#include "tools/filter/expr_filter.h"
#include "tools/table/RadiRidir.h"

namespace vesk::bench {
namespace {

constexpr const char* kNameFilter = "Name = 'M*' OR Name = 'm*'";
constexpr const char* kDatumFilter = "Datum >= 01.01.2026";

// Rows per iteration and time per record as counters.
void Report(benchmark::State& state, int64_t passed) {
  state.counters["passed"] = static_cast<double>(passed);
  state.counters["per_record"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void WalkRadiRidir(benchmark::State& state, const char* filter) {
  TRadiRidir table;
  table.SetTableName(EngineFilterTable(state.range(0)));
  table.SetFilterText(filter);
  table.SetFiltered(true);
  table.Open();
  int64_t passed = 0;
  for (auto _ : state) {
    passed = 0;
    for (table.First(); !table.Eof(); table.Next()) ++passed;
  }
  Report(state, passed);
}

// The columns of a row copied out, as the dataset copies a record.
struct RowCopy {
  char name[41], vorname[31], ort[31];
  double datum;
};

void CopyText(sqlite3_stmt* query, int column, char* into, size_t room) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
  const size_t length = std::min(static_cast<size_t>(sqlite3_column_bytes(query, column)), room - 1);
  std::memcpy(into, text, length);
  into[length] = '\0';
}

void ScanSqlite(benchmark::State& state, const char* condition) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(PlainFilterTable(state.range(0)).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open the plain table");
  sqlite3_stmt* query = nullptr;
  const std::string sql = std::string("SELECT Name, Vorname, Ort, Datum FROM adressen WHERE ") + condition;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
  int64_t passed = 0;
  RowCopy row;
  for (auto _ : state) {
    passed = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
      CopyText(query, 0, row.name, sizeof row.name);
      CopyText(query, 1, row.vorname, sizeof row.vorname);
      CopyText(query, 2, row.ort, sizeof row.ort);
      row.datum = sqlite3_column_double(query, 3);
      benchmark::DoNotOptimize(row);
      ++passed;
    }
    sqlite3_reset(query);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  Report(state, passed);
}

}  // namespace

void NameRadiRidir(benchmark::State& state) { WalkRadiRidir(state, kNameFilter); }
void NameSqlite(benchmark::State& state) { ScanSqlite(state, "Name GLOB 'M*' OR Name GLOB 'm*'"); }
void DatumRadiRidir(benchmark::State& state) { WalkRadiRidir(state, kDatumFilter); }
void DatumSqlite(benchmark::State& state) {
  ScanSqlite(state, ("Datum >= " + std::to_string(static_cast<int>(kFirstOf2026))).c_str());
}

void PrepareName(benchmark::State& state) {
  TRadiRidir table;
  table.SetTableName(EngineFilterTable(state.range(0)));
  table.Open();
  table.SetFilterText(kNameFilter);
  TExprFilter filter(&table);
  for (auto _ : state) filter.SetActive(true);
}

}  // namespace vesk::bench
