// Kills a writer of an engine table at random moments and checks after each
// kill that the table opens, passes SQLite's integrity check and holds every
// record whose store had returned. VESK_CRASH_SEED repeats a run's choices.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "engine/radiridir.h"
#include "tests/engine/crash/crash_model.h"
#include "tests/engine/crash/crash_table.h"
#include "tests/engine/crash/writer_process.h"
#include "tests/support/temp_folder.h"

namespace vesk::crash {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kMinimumKills = 100;
constexpr int kMinimumKillsInFlight = 50;
constexpr int kMostKills = 400;
constexpr auto kMostTime = std::chrono::seconds(150);

uint64_t Seed() {
  const char* text = std::getenv("VESK_CRASH_SEED");
  if (text != nullptr && *text != '\0') return std::strtoull(text, nullptr, 10);
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// The rows of PRAGMA integrity_check, read through a read-only connection.
std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string result;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    result = std::string("cannot open: ") + sqlite3_errmsg(db);
  } else {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK) {
      result = std::string("cannot prepare: ") + sqlite3_errmsg(db);
    }
    int step = SQLITE_DONE;
    while (statement != nullptr && (step = sqlite3_step(statement)) == SQLITE_ROW) {
      if (!result.empty()) result += "; ";
      result += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    if (step != SQLITE_DONE) result += std::string(" (step failed: ") + sqlite3_errmsg(db) + ")";
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

// Problems of the table after a kill, as seen through the engine; the model
// takes the stored records when there are none.
std::vector<std::string> CheckThroughEngine(const std::string& path, CrashModel& model) {
  const int32_t h = rr_new(0);
  if (h == 0) return {"rr_new failed"};
  std::vector<std::string> problems;
  const int32_t opened = rr_open(h, LengthPrefixed(path).data(), RR_MODE_READ_WRITE);
  if (opened == -1) {
    problems.push_back("rr_open reports the table in use, though its writer is dead: " + LastError(h));
  } else if (opened < 0) {
    problems.push_back("rr_open fails: " + LastError(h));
  } else if (std::optional<Layout> layout = ReadLayout(h); !layout) {
    problems.push_back("the layout cannot be read: " + LastError(h));
  } else if (ScanResult scan = ScanTable(h, *layout); !scan.error.empty()) {
    problems.push_back(scan.error);
  } else {
    problems = model.Reconcile(scan.records);
  }
  rr_close(h);
  rr_free(h);
  return problems;
}

// Runs one writer until a random moment and kills it; the failure text is
// empty when the writer's messages fit the model and SIGKILL ended it.
std::string KillWriterOnce(const std::string& table, std::mt19937_64& rng, CrashModel& model) {
  WriterProcess writer;
  if (std::string failure = writer.Start(VESK_CRASH_WRITER, table, rng()); !failure.empty()) return failure;
  MessageReader reader;
  std::string failure;
  bool ready = false;
  // Takes what arrived; stops reading at the first message that does not fit.
  auto take = [&] {
    while (std::optional<Message> message = reader.Next()) {
      if (message->kind == MessageKind::kReady) ready = true;
      failure = model.Take(*message);
      if (!failure.empty()) return true;
    }
    return ready;
  };
  // One kill in five comes early, while the writer starts or opens the table
  // (and recovers it); the others while it stores.
  const bool early = std::uniform_int_distribution<int>(0, 4)(rng) == 0;
  const auto delay = milliseconds(std::uniform_int_distribution<int>(0, early ? 15 : 120)(rng));
  if (early) {
    std::this_thread::sleep_for(delay);
  } else if (writer.ReadUntil(reader, Clock::now() + std::chrono::seconds(20), take) && failure.empty()) {
    if (!ready) return "the writer did not open the table within 20 s";
    writer.ReadUntil(reader, Clock::now() + delay, [&] { return take() && !failure.empty(); });
  }
  const std::string ending = writer.KillAndReap(reader);
  if (failure.empty()) take();
  return failure.empty() ? ending : failure;
}

TEST(EngineCrash, KilledWriterLeavesEveryReturnedStore) {
  const uint64_t seed = Seed();
  std::cout << "crash test seed " << seed << " (VESK_CRASH_SEED=" << seed << " repeats its choices)" << std::endl;
  RecordProperty("seed", std::to_string(seed));
  SCOPED_TRACE("VESK_CRASH_SEED=" + std::to_string(seed));
  std::mt19937_64 rng(seed);
  TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  const std::string table = folder.Path() + "/crash.mti";
  ASSERT_EQ(CreateCrashTable(table), "");

  CrashModel model;
  int kills = 0;
  int kills_in_flight = 0;
  const auto end = Clock::now() + kMostTime;
  while ((kills < kMinimumKills || kills_in_flight < kMinimumKillsInFlight) && kills < kMostKills &&
         Clock::now() < end) {
    SCOPED_TRACE("kill " + std::to_string(kills + 1));
    const std::string failure = KillWriterOnce(table, rng, model);
    ASSERT_EQ(failure, "");
    ++kills;
    if (model.InFlight()) ++kills_in_flight;
    ASSERT_EQ(IntegrityCheck(table), "ok");
    const std::vector<std::string> problems = CheckThroughEngine(table, model);
    ASSERT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
  }
  std::cout << kills << " kills, " << kills_in_flight << " while an operation was in flight, " << model.ReturnedCount()
            << " operations returned, " << model.RecordCount() << " records at the end" << std::endl;
  EXPECT_GE(kills, kMinimumKills);
  EXPECT_GE(kills_in_flight, kMinimumKillsInFlight);
}

}  // namespace
}  // namespace vesk::crash
