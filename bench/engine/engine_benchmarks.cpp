#include "bench/engine/engine_benchmarks.h"

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "bench/engine/bench_tables.h"
#include "bench/engine/engine_side.h"
#include "engine/radiridir.h"

namespace vesk::bench {
namespace {

// Large enough for any record (sizes are below 65536).
constexpr size_t kAnyRecord = 65536;

rr_bool AcceptOnePercent(void* data, const uint8_t* record) {
  int32_t nummer = 0;
  std::memcpy(&nummer, record + *static_cast<const int32_t*>(data), 4);
  return record[kNummer] == 1 && Accepted(nummer);
}

// Reads every record from the first on (under the tests that are on); returns how many.
int64_t ReadAll(int32_t h, std::vector<uint8_t>& buffer, int32_t nummer_offset) {
  int64_t rows = 0;
  int64_t sum = 0;
  rr_first(h);
  if (rr_no_current(h)) return 0;
  for (;;) {
    Check(h, rr_get_record(h, buffer.data()), "rr_get_record");
    int32_t nummer = 0;
    std::memcpy(&nummer, buffer.data() + nummer_offset, 4);
    sum += nummer;
    ++rows;
    rr_next(h);
    if (rr_eof(h)) break;
  }
  benchmark::DoNotOptimize(sum);
  return rows;
}

rr_bool AcceptLetterM(void* data, const uint8_t* record) {
  return record[kName] == 1 && record[*static_cast<const int32_t*>(data)] == 'M';
}

void UseOnePercentTest(EngineTable& table, int32_t& offset) {
  offset = table.Offset(kNummer);
  rr_set_tests(table.Handle(), AcceptOnePercent, &offset, nullptr, nullptr);
  rr_enable_tests(table.Handle(), 1, 0);
  rr_tests_on(table.Handle(), 1);
}

// Reads the whole table per iteration, under the 1 % test when filtered.
void ScanTable(benchmark::State& state, bool filtered) {
  EngineTable table(EngineTablePath(state.range(0)));
  int32_t offset = table.Offset(kNummer);
  if (filtered) UseOnePercentTest(table, offset);
  int64_t rows = 0;
  for (auto _ : state) rows = ReadAll(table.Handle(), table.Buffer(), offset);
  state.counters["rows"] = static_cast<double>(rows);
}

// Moves to a record chosen at random, outside the measured time.
void GotoRandomRecord(benchmark::State& state, int32_t h, std::mt19937_64& random) {
  state.PauseTiming();
  const uint64_t count = static_cast<uint64_t>(rr_record_count(h));
  Check(h, rr_goto_rec_no(h, 1 + static_cast<int32_t>(random() % count)), "rr_goto_rec_no");
  state.ResumeTiming();
}

// Per iteration moves to a record chosen at random, outside the measured
// time, and changes it with change(table, random).
template <typename Change>
void ChangeRandomRecords(benchmark::State& state, uint64_t seed, Change change) {
  EngineTable table(EngineTablePath(state.range(0)));
  std::mt19937_64 random(seed);
  for (auto _ : state) {
    GotoRandomRecord(state, table.Handle(), random);
    change(table, random);
  }
}

size_t Allocated() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace

void EngineOpen(benchmark::State& state) {
  const std::array<uint8_t, 256> name = LengthPrefixed(EngineTablePath(state.range(0)));
  std::vector<uint8_t> buffer(kAnyRecord);
  const int32_t h = rr_new(0);
  for (auto _ : state) {
    Check(h, rr_open(h, name.data(), RR_MODE_READ_WRITE) >= 0, "rr_open");
    Check(h, rr_get_record(h, buffer.data()), "rr_get_record");
    state.PauseTiming();
    rr_close(h);
    state.ResumeTiming();
  }
  rr_free(h);
}

void EngineScan(benchmark::State& state) { ScanTable(state, false); }

void EngineFilteredScan(benchmark::State& state) { ScanTable(state, true); }

void EngineFilteredCount(benchmark::State& state) {
  EngineTable table(EngineTablePath(state.range(0)));
  int32_t offset = 0;
  UseOnePercentTest(table, offset);
  int32_t count = 0;
  for (auto _ : state) {
    count = rr_record_count(table.Handle());
    Check(table.Handle(), count >= 0, "rr_record_count");
  }
  state.counters["rows"] = count;
}

namespace {
// The first or last record of the letter page "M", the cursor coming from
// the other end of the table.
void EngineLetterPageEnd(benchmark::State& state, bool last) {
  EngineTable table(EngineTablePath(state.range(0)));
  const int32_t h = table.Handle();
  const int32_t fields[] = {kName};
  Check(h, rr_select_index(h, rr_search_index(h, fields, 1, 1)), "rr_select_index");
  // The names beginning with "M" as the letter page asks for them: the
  // condition along the index, the test to judge each candidate.
  int32_t offset = table.Offset(kName);
  rr_set_tests(h, AcceptLetterM, &offset, nullptr, nullptr);
  rr_enable_tests(h, 1, 0);
  rr_tests_on(h, 1);
  const rr_candidate_term letter = {RR_CAND_PREFIX, kName, 0, "M"};
  Check(h, rr_set_candidates(h, &letter, 1, nullptr, 0), "rr_set_candidates");
  for (auto _ : state) {
    // From the other end, so that the cursor knows nothing of the page.
    state.PauseTiming();
    rr_tests_on(h, 0);
    Check(h, last ? rr_first(h) : rr_last(h), "leaving the page");
    rr_tests_on(h, 1);
    state.ResumeTiming();
    Check(h, (last ? rr_last(h) : rr_first(h)) && !rr_no_current(h), "the page's end");
    Check(h, rr_get_record(h, table.Buffer().data()), "rr_get_record");
  }
}
}  // namespace

void EngineLetterPageFirst(benchmark::State& state) { EngineLetterPageEnd(state, false); }
void EngineLetterPageLast(benchmark::State& state) { EngineLetterPageEnd(state, true); }

void EngineSearch(benchmark::State& state) {
  EngineTable table(EngineTablePath(state.range(0)));
  const int32_t h = table.Handle();
  const int32_t fields[] = {kName};
  const int32_t index = rr_search_index(h, fields, 1, 1);
  Check(h, index >= 0, "rr_search_index");
  std::mt19937_64 random(7);
  std::vector<std::vector<uint8_t>> keys(1024, std::vector<uint8_t>(table.Buffer().size()));
  for (std::vector<uint8_t>& key : keys) {
    Check(h, rr_blank_record(h, key.data()), "rr_blank_record");
    const uint64_t number = random() % static_cast<uint64_t>(state.range(0));
    SetText(key.data(), kName, table.Offset(kName), MakeAddress(number).name);
  }
  std::vector<uint8_t> key(table.Buffer().size());
  size_t next = 0;
  for (auto _ : state) {
    key = keys[next++ % keys.size()];
    Check(h, rr_search(h, fields, 1, key.data(), index, 0, 0, 1), "rr_search");
    Check(h, rr_get_record(h, table.Buffer().data()), "rr_get_record");
  }
}

void EngineStoreNew(benchmark::State& state) {
  EngineTable table(EngineTablePath(state.range(0)));
  uint64_t number = 1u << 30;
  for (auto _ : state) {
    table.Fill(MakeAddress(number++));
    Check(table.Handle(), rr_put_buffer(table.Handle(), table.Buffer().data()) && rr_store_new(table.Handle()),
          "rr_store_new");
  }
}

void EngineStoreOver(benchmark::State& state) {
  ChangeRandomRecords(state, 11, [](EngineTable& table, std::mt19937_64& random) {
    const int32_t h = table.Handle();
    Check(h, rr_lock(h), "rr_lock");
    table.Fill(MakeAddress(random()));
    Check(h, rr_put_buffer(h, table.Buffer().data()) && rr_store_over(h), "rr_store_over");
  });
}

void EngineDelete(benchmark::State& state) {
  ChangeRandomRecords(state, 13, [](EngineTable& table, std::mt19937_64&) {
    Check(table.Handle(), rr_delete(table.Handle()), "rr_delete");
  });
}

void EngineCursorMemory(benchmark::State& state) {
  const std::array<uint8_t, 256> name = LengthPrefixed(EngineTablePath(state.range(0)));
  const int32_t h = rr_new(0);
  const double records = static_cast<double>(state.range(0));
  for (auto _ : state) {
    const double allocated = static_cast<double>(Allocated());
    Check(h, rr_open(h, name.data(), RR_MODE_READ_WRITE) >= 0, "rr_open");
    state.counters["bytes_per_record"] = (static_cast<double>(Allocated()) - allocated) / records;
    rr_close(h);
  }
  rr_free(h);
}

}  // namespace vesk::bench
