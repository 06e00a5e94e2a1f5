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

}  // namespace

const Page* Pages(size_t* count) {
  // LIKE folds ASCII case as the filter does, and uses the NOCASE index.
  static const Page pages[] = {
      {"Letter", kNameFilter, "NameIx", "Name LIKE 'M%'"},
      {"Category", "Kategorie = 'Privat'", "NameIx", "Kategorie = 'Privat'"},
      {"Weekday", "Datum = 01.01.2026", "DatumUhrzeit", "Datum = " + std::to_string(static_cast<int>(kFirstOf2026))},
      {"DateFrom", "Datum >= 01.01.2026", "DatumUhrzeit", "Datum >= " + std::to_string(static_cast<int>(kFirstOf2026))},
  };
  *count = std::size(pages);
  return pages;
}

namespace {

// Rows per iteration and time per record as counters.
void Report(benchmark::State& state, int64_t passed) {
  state.counters["passed"] = static_cast<double>(passed);
  state.counters["per_record"] = benchmark::Counter(
      static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The filtered table opened on the table of range(0) records, in the
// page's order.
void OpenFiltered(TRadiRidir& table, benchmark::State& state, const Page& page) {
  table.SetTableName(EngineFilterTable(state.range(0)));
  table.SetFilterText(page.filter);
  table.SetFiltered(true);
  table.Open();
  table.SetIndexName(page.index);
}

// Turns the filter off and on again, as a change of page does: the table
// forgets its count and stands on the first record that passes.
void ChangePage(TRadiRidir& table) {
  table.SetFiltered(false);
  table.SetFiltered(true);
}

}  // namespace

namespace {

// Walks the page from its first record, after turning to it anew or not.
void Walk(benchmark::State& state, const Page& page, bool turn) {
  TRadiRidir table;
  OpenFiltered(table, state, page);
  int64_t passed = 0;
  for (auto _ : state) {
    turn ? ChangePage(table) : table.First();
    passed = 0;
    for (; !table.Eof(); table.Next()) ++passed;
  }
  Report(state, passed);
}

}  // namespace

void WalkRadiRidir(benchmark::State& state, const Page& page) { Walk(state, page, false); }
void TurnWalkRadiRidir(benchmark::State& state, const Page& page) { Walk(state, page, true); }

void FirstRadiRidir(benchmark::State& state, const Page& page) {
  TRadiRidir table;
  OpenFiltered(table, state, page);
  for (auto _ : state) {
    ChangePage(table);
    benchmark::DoNotOptimize(table.Eof());
  }
}

void CountRadiRidir(benchmark::State& state, const Page& page) {
  TRadiRidir table;
  OpenFiltered(table, state, page);
  int64_t count = 0;
  for (auto _ : state) {
    ChangePage(table);
    benchmark::DoNotOptimize(count = table.RecordCount());
  }
  state.counters["passed"] = static_cast<double>(count);
}

namespace {

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

// A query on the plain table of range(0) records; db is closed by the caller.
sqlite3_stmt* PreparePlain(benchmark::State& state, sqlite3*& db, const std::string& sql) {
  if (sqlite3_open_v2(PlainFilterTable(state.range(0)).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open the plain table");
  sqlite3_stmt* query = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  return query;
}

constexpr const char* kSelect = "SELECT Name, Vorname, Ort, Datum FROM adressen WHERE ";
constexpr const char* kCount = "SELECT COUNT(*) FROM adressen WHERE ";

// The first matching row, or the count of them: one step of the query.
void StepSqlite(benchmark::State& state, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_stmt* query = PreparePlain(state, db, sql);
  for (auto _ : state) {
    benchmark::DoNotOptimize(sqlite3_step(query));
    benchmark::DoNotOptimize(sqlite3_column_int64(query, 0));
    sqlite3_reset(query);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
}

}  // namespace

void WalkSqlite(benchmark::State& state, const Page& page) {
  sqlite3* db = nullptr;
  sqlite3_stmt* query = PreparePlain(state, db, kSelect + page.sql);
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

void FirstSqlite(benchmark::State& state, const Page& page) { StepSqlite(state, kSelect + page.sql + " LIMIT 1"); }
void CountSqlite(benchmark::State& state, const Page& page) { StepSqlite(state, kCount + page.sql); }

void PrepareName(benchmark::State& state) {
  TRadiRidir table;
  table.SetTableName(EngineFilterTable(state.range(0)));
  table.Open();
  table.SetFilterText(kNameFilter);
  TExprFilter filter(&table);
  for (auto _ : state) filter.SetActive(true);
}

}  // namespace vesk::bench
