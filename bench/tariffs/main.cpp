// bench_tariffs: the tariff lookup of one dial - both tariff tables opened,
// searched and closed - through the table layer, beside the same two
// queries in plain SQLite on the same data, with the goals: under 5 ms and
// within 3 times plain SQLite.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/support/run_benchmarks.h"
#include "bench/support/times_reporter.h"
#include "runtime/datetime.h"
#include "tools/adressen/tariff_lookup.h"
#include "tools/tarife/tariff_tables.h"

namespace vesk::bench {
namespace {

constexpr double kRatioGoal = 3.0;
constexpr double kTimeGoal = 5e-3;
// Wednesday, 14:30: the band of the day.
const TDateTime kNow = EncodeDate(2026, 12, 9) + EncodeTime(14, 30, 0, 0);

void Layer(benchmark::State& state) {
  for (auto _ : state) {
    const std::string prefix =
        LookupNetworkPrefix("Fern", [](TDataSet& tariffs, bool& accept) { accept = TariffBandAccepts(tariffs); });
    benchmark::DoNotOptimize(prefix);
  }
}

void Check(int result, sqlite3* db) {
  if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE)
    throw std::runtime_error(sqlite3_errmsg(db));
}

// The first value of a query on a table file opened for it and closed
// after, as the lookup opens and closes each table; the values are bound
// in their order.
template <typename Bind>
std::string FirstValue(const char* file, const char* query, Bind&& bind) {
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(file, &db, SQLITE_OPEN_READONLY, nullptr), db);
  sqlite3_stmt* statement = nullptr;
  Check(sqlite3_prepare_v2(db, query, -1, &statement, nullptr), db);
  bind(statement);
  Check(sqlite3_step(statement), db);
  const unsigned char* text = sqlite3_column_text(statement, 0);
  std::string value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

// The same two queries in plain SQLite on the same two files: the
// cheapest tariff of the zone in force now, then its network's prefix.
void Plain(benchmark::State& state) {
  const double now = kNow - static_cast<int>(kNow);
  for (auto _ : state) {
    const std::string id = FirstValue("Data/Tarife.mti",
                                      "SELECT \"ID\" FROM records WHERE \"Tag\" = ? AND \"Tarifzone\" = ? AND "
                                      "\"ZeitAnfang\" <= ? AND ? < \"ZeitEnde\" ORDER BY \"Preis\" LIMIT 1",
                                      [now](sqlite3_stmt* statement) {
                                        sqlite3_bind_text(statement, 1, "WT", -1, SQLITE_STATIC);
                                        sqlite3_bind_text(statement, 2, "Fern", -1, SQLITE_STATIC);
                                        sqlite3_bind_double(statement, 3, now);
                                        sqlite3_bind_double(statement, 4, now);
                                      });
    const std::string prefix =
        FirstValue("Data/Telefon.mti", "SELECT \"Netzvorwahl\" FROM records WHERE \"ID\" = ?",
                   [&id](sqlite3_stmt* statement) { sqlite3_bind_int(statement, 1, std::stoi(id)); });
    benchmark::DoNotOptimize(prefix);
  }
}

void PrintRatio(const TimesReporter& reporter) {
  const Time* layer = reporter.Find("TariffLookup/layer");
  const Time* plain = reporter.Find("TariffLookup/sqlite");
  if (!layer || !plain) return;
  const double ratio = layer->real / plain->real;
  std::printf(
      "\nTariff lookup of one dial, table layer against plain SQLite: %.3f ms against %.3f ms, "
      "ratio %.2f (goals: < %.0f ms %s, ratio < %.1f %s)\n",
      layer->real * 1e3, plain->real * 1e3, ratio, kTimeGoal * 1e3, layer->real < kTimeGoal ? "met" : "MISSED",
      kRatioGoal, ratio < kRatioGoal ? "met" : "MISSED");
}

}  // namespace
}  // namespace vesk::bench

int main(int argc, char** argv) {
  using namespace vesk::bench;
  std::string folder = (std::filesystem::temp_directory_path() / "vesk-bench_tariffs-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) return 1;
  try {
    vesk::CreateTariffTablesWhenMissing(std::string(VESK_SOURCE_DIR) + "/data");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_tariffs: %s\n", error.what());
    return 1;
  }
  vesk::SetClockForTesting([] { return kNow; });
  TimesReporter reporter;
  return RunBenchmarks(argc, argv, reporter,
                       {[] {
                          benchmark::RegisterBenchmark("TariffLookup/layer", Layer)->Unit(benchmark::kMicrosecond);
                          benchmark::RegisterBenchmark("TariffLookup/sqlite", Plain)->Unit(benchmark::kMicrosecond);
                        },
                        [&reporter] { PrintRatio(reporter); }, [folder] { std::filesystem::remove_all(folder); }});
}
