#include "bench/engine/plain_benchmarks.h"

#include <optional>
#include <random>
#include <vector>

#include "bench/engine/bench_tables.h"
#include "bench/engine/plain_side.h"

namespace vesk::bench {
namespace {

const std::string kSelect = std::string("SELECT id, ") + kPlainColumns + " FROM adressen";

// Steps through every row of a query, copying each; returns how many.
int64_t ReadAll(sqlite3_stmt* query) {
  RowCopy row;
  int64_t rows = 0;
  int64_t sum = 0;
  while (sqlite3_step(query) == SQLITE_ROW) {
    CopyRow(query, row);
    sum += row.nummer;
    ++rows;
  }
  sqlite3_reset(query);
  benchmark::DoNotOptimize(sum);
  return rows;
}

void ScanQuery(benchmark::State& state, const std::string& sql) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement query = table.Prepare(sql);
  int64_t rows = 0;
  for (auto _ : state) rows = ReadAll(query.get());
  state.counters["rows"] = static_cast<double>(rows);
}

std::vector<int64_t> Identities(const PlainTable& table) {
  std::vector<int64_t> identities;
  Statement query = table.Prepare("SELECT id FROM adressen");
  while (sqlite3_step(query.get()) == SQLITE_ROW) identities.push_back(sqlite3_column_int64(query.get(), 0));
  return identities;
}

}  // namespace

void PlainOpen(benchmark::State& state) {
  const std::string& path = PlainTablePath(state.range(0));
  RowCopy row;
  for (auto _ : state) {
    std::optional<PlainTable> table(std::in_place, path);
    Statement query = table->Prepare(kSelect + " ORDER BY id");
    table->Step(query.get(), true);
    CopyRow(query.get(), row);
    state.PauseTiming();
    query.reset();
    table.reset();
    state.ResumeTiming();
  }
}

void PlainScan(benchmark::State& state) { ScanQuery(state, kSelect + " ORDER BY id"); }

void PlainFilteredScan(benchmark::State& state) { ScanQuery(state, kSelect + " WHERE Nummer % 100 = 0 ORDER BY id"); }

void PlainFilteredCount(benchmark::State& state) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement query = table.Prepare("SELECT count(*) FROM adressen WHERE Nummer % 100 = 0");
  int64_t count = 0;
  for (auto _ : state) {
    table.Step(query.get(), true);
    count = sqlite3_column_int64(query.get(), 0);
    sqlite3_reset(query.get());
  }
  state.counters["rows"] = static_cast<double>(count);
}

namespace {
void PlainLetterPageEnd(benchmark::State& state, const char* direction) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement query =
      table.Prepare(kSelect + " WHERE Name >= 'M' AND Name < 'N' ORDER BY Name " + direction + " LIMIT 1");
  RowCopy row;
  for (auto _ : state) {
    // Paused as the engine's side is to leave the page.
    state.PauseTiming();
    sqlite3_reset(query.get());
    state.ResumeTiming();
    table.Step(query.get(), true);
    CopyRow(query.get(), row);
  }
}
}  // namespace

void PlainLetterPageFirst(benchmark::State& state) { PlainLetterPageEnd(state, "ASC"); }
void PlainLetterPageLast(benchmark::State& state) { PlainLetterPageEnd(state, "DESC"); }

void PlainSearch(benchmark::State& state) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement query = table.Prepare(kSelect + " WHERE Name = ?1 LIMIT 1");
  std::mt19937_64 random(7);
  std::vector<std::string> keys(1024);
  for (std::string& key : keys) key = MakeAddress(random() % static_cast<uint64_t>(state.range(0))).name;
  RowCopy row;
  size_t next = 0;
  for (auto _ : state) {
    const std::string& key = keys[next++ % keys.size()];
    sqlite3_bind_text(query.get(), 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    table.Step(query.get(), true);
    CopyRow(query.get(), row);
    sqlite3_reset(query.get());
  }
}

void PlainStoreNew(benchmark::State& state) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement insert = table.Prepare(std::string("INSERT INTO adressen(") + kPlainColumns + ") VALUES (?,?,?,?,?,?,?,?)");
  uint64_t number = 1u << 30;
  for (auto _ : state) {
    table.Bind(insert.get(), MakeAddress(number++));
    table.Step(insert.get(), false);
    sqlite3_reset(insert.get());
  }
}

void PlainStoreOver(benchmark::State& state) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement update = table.Prepare(
      "UPDATE adressen SET Name=?1, Vorname=?2, Strasse=?3, Ort=?4, PLZ=?5, Telefon=?6, Nummer=?7, Geboren=?8 "
      "WHERE id=?9");
  const std::vector<int64_t> identities = Identities(table);
  std::mt19937_64 random(11);
  for (auto _ : state) {
    state.PauseTiming();
    const int64_t identity = identities[random() % identities.size()];
    state.ResumeTiming();
    table.Bind(update.get(), MakeAddress(random()));
    sqlite3_bind_int64(update.get(), 9, identity);
    table.Step(update.get(), false);
    sqlite3_reset(update.get());
  }
}

void PlainDelete(benchmark::State& state) {
  PlainTable table(PlainTablePath(state.range(0)));
  Statement remove = table.Prepare("DELETE FROM adressen WHERE id=?1");
  std::vector<int64_t> identities = Identities(table);
  std::mt19937_64 random(13);
  for (auto _ : state) {
    state.PauseTiming();
    const size_t which = random() % identities.size();
    const int64_t identity = identities[which];
    identities[which] = identities.back();
    identities.pop_back();
    state.ResumeTiming();
    sqlite3_bind_int64(remove.get(), 1, identity);
    table.Step(remove.get(), false);
    sqlite3_reset(remove.get());
  }
}

}  // namespace vesk::bench
