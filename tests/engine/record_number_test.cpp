// Record numbers and counts of a cursor that knows only what it has walked:
// in every order of the sample table (with equal and absent keys), after
// moves from either end, seeks, marks, jumps to numbers far from what it
// knows and on filtered pages; and the count kept until the table changes.
#include <algorithm>
#include <random>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

// More records than the cursor loads at once or reaches by loading.
constexpr int kRecords = 10000;

class RecordNumbers : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenSample();
    std::mt19937 random(5);
    ASSERT_TRUE(rr_batch_begin(h_));
    for (int i = 0; i < kRecords; ++i) {
      Record record(h_);
      // Few names, so that many keys are equal; some places absent.
      record.SetText(kName, "N" + std::to_string(random() % 300));
      if (random() % 4 != 0) record.SetText(kOrt, "O" + std::to_string(random() % 7));
      if (random() % 5 != 0) record.SetInt(kAnzahl, static_cast<int32_t>(random() % 50));
      ASSERT_TRUE(rr_put_buffer(h_, record.Data()));
      ASSERT_TRUE(rr_store_new(h_)) << LastError(h_);
    }
    ASSERT_TRUE(rr_batch_commit(h_));
  }

  // The identities in the order of index, walked from the first record.
  std::vector<int32_t> Walk(int32_t index) {
    std::vector<int32_t> ids;
    EXPECT_TRUE(rr_select_index(h_, index)) << LastError(h_);
    while (!rr_eof(h_) && !rr_no_current(h_)) {
      ids.push_back(rr_record_id(h_));
      rr_next(h_);
    }
    return ids;
  }

  // The cursor stands on the record of order[number - 1] and tells its number.
  void ExpectAt(const std::vector<int32_t>& order, size_t number, const std::string& after) {
    ASSERT_FALSE(rr_no_current(h_)) << after;
    EXPECT_EQ(rr_record_id(h_), order[number - 1]) << after << " " << number;
    EXPECT_EQ(rr_rec_no(h_), static_cast<int32_t>(number)) << after;
  }

  // Reopening forgets what the cursor walked.
  void Reopen(int32_t index) {
    rr_close(h_);
    ASSERT_EQ(Open(sample_), 0) << LastError(h_);
    ASSERT_TRUE(rr_select_index(h_, index));
  }
};

TEST_F(RecordNumbers, AreExactAfterEveryKindOfMoveInEveryOrder) {
  for (int32_t index : {0, int32_t{kByName}, int32_t{kByNameNoCase}, int32_t{kByOrtName}, int32_t{kByAnzahl}}) {
    const std::vector<int32_t> order = Walk(index);
    ASSERT_EQ(order.size(), static_cast<size_t>(kRecords)) << index;
    const std::string in = " in index " + std::to_string(index);

    // From the last record back to the first.
    Reopen(index);
    ASSERT_TRUE(rr_last(h_));
    std::vector<int32_t> back;
    while (!rr_bof(h_)) {
      back.push_back(rr_record_id(h_));
      if (back.size() % 997 == 1) ExpectAt(order, order.size() + 1 - back.size(), "walking back" + in);
      rr_prior(h_);
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, order) << in;

    std::mt19937 random(static_cast<unsigned>(index));
    for (int round = 0; round < 6; ++round) {
      const size_t number = 1 + random() % order.size();
      // A mark, then a few steps either way.
      Reopen(index);
      const int32_t mark = rr_mark_create(h_, order[number - 1]);
      ASSERT_TRUE(rr_goto_mark(h_, mark)) << LastError(h_);
      ExpectAt(order, number, "a mark" + in);
      if (number < order.size()) {
        rr_next(h_);
        ExpectAt(order, number + 1, "a mark and a step forward" + in);
        rr_prior(h_);
      }
      if (number > 1) {
        rr_prior(h_);
        ExpectAt(order, number - 1, "a mark and a step back" + in);
      }
      rr_mark_free(h_, mark);
      // A jump to a number, from a cursor that knows only the first records
      // and from one that knows those around the jump before.
      Reopen(index);
      ASSERT_TRUE(rr_goto_rec_no(h_, static_cast<int32_t>(number))) << LastError(h_);
      ExpectAt(order, number, "a jump" + in);
      const size_t near = std::min(order.size(), number + 100);
      ASSERT_TRUE(rr_goto_rec_no(h_, static_cast<int32_t>(near)));
      ExpectAt(order, near, "a jump nearby" + in);
      ASSERT_TRUE(rr_goto_rec_no(h_, 1));
      ExpectAt(order, 1, "a jump to the first" + in);
    }
    EXPECT_FALSE(rr_goto_rec_no(h_, kRecords + 1));
    EXPECT_EQ(rr_record_count(h_), kRecords);
  }
}

TEST_F(RecordNumbers, AreExactAfterASeek) {
  const std::vector<int32_t> order = Walk(kByName);
  Reopen(kByName);
  const int32_t fields[] = {kName};
  for (const char* name : {"N0", "N150", "N299", "N42"}) {
    Record key(h_);
    key.SetText(kName, name);
    ASSERT_TRUE(rr_search(h_, fields, 1, key.Data(), kByName, 0, 0, 1)) << name << LastError(h_);
    const auto at = std::find(order.begin(), order.end(), rr_record_id(h_));
    ASSERT_NE(at, order.end());
    ExpectAt(order, static_cast<size_t>(at - order.begin()) + 1, name);
    // The first of its name: the one before has another.
    if (at != order.begin()) {
      rr_prior(h_);
      EXPECT_NE(CurrentName(), name);
    }
  }
}

uint8_t HasPlace(void*, const uint8_t* record) { return record[kOrt] != 0; }

TEST_F(RecordNumbers, AreExactOnAFilteredPage) {
  // Pages of names with a place, deep inside the order; on the first page
  // its first name has none, on the last its last, so that the test
  // rejects the first or last candidate.
  struct Page {
    int32_t index;
    rr_candidate_term term;
    const char* prefix;
    bool last_placeless;
  };
  const Page pages[] = {{kByName, {RR_CAND_PREFIX, kName, 0, "N2"}, "N2", false},
                        {kByNameNoCase, {RR_CAND_PREFIX_NOCASE, kName, 0, "n17"}, "N17", false},
                        {kByName, {RR_CAND_PREFIX, kName, 0, "N299"}, "N299", true}};
  bool placeless = false;
  auto take_place = [&](Record& record) {
    record.Data()[kOrt] = 0;
    ASSERT_TRUE(rr_lock(h_) && rr_put_buffer(h_, record.Data()) && rr_store_over(h_)) << LastError(h_);
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(page.prefix);
    const std::vector<int32_t> order = Walk(page.index);
    // The records on the page: their numbers in the order.
    std::vector<size_t> numbers;
    Record record(h_);
    for (size_t number = 1; number <= order.size(); ++number) {
      ASSERT_TRUE(rr_goto_rec_no(h_, static_cast<int32_t>(number)));
      ASSERT_TRUE(rr_get_record(h_, record.Data()));
      if (record.Text(kName).starts_with(page.prefix)) {
        if (!placeless) {
          take_place(record);
          placeless = true;
        }
        if (record.Has(kOrt)) numbers.push_back(number);
      }
    }
    if (page.last_placeless) {
      ASSERT_TRUE(rr_goto_rec_no(h_, static_cast<int32_t>(numbers.back())));
      ASSERT_TRUE(rr_get_record(h_, record.Data()));
      take_place(record);
      numbers.pop_back();
    }
    ASSERT_GT(numbers.size(), 2u);
    Reopen(page.index);
    rr_set_tests(h_, HasPlace, nullptr, nullptr, nullptr);
    rr_enable_tests(h_, 1, 0);
    rr_tests_on(h_, 1);
    ASSERT_TRUE(rr_set_candidates(h_, &page.term, 1, nullptr, 0)) << LastError(h_);
    ASSERT_TRUE(rr_first(h_));
    ExpectAt(order, numbers.front(), "the first record");
    rr_prior(h_);
    EXPECT_TRUE(rr_bof(h_));
    ExpectAt(order, numbers.front(), "a move back from the first");
    for (size_t k = 1; k < numbers.size(); ++k) {
      ASSERT_TRUE(rr_next(h_));
      ExpectAt(order, numbers[k], "walking the page");
    }
    rr_next(h_);
    EXPECT_TRUE(rr_eof(h_));
    EXPECT_EQ(rr_record_count(h_), static_cast<int32_t>(numbers.size()));
    ASSERT_TRUE(rr_first(h_));
    ExpectAt(order, numbers.front(), "the first record again");
    ASSERT_TRUE(rr_next(h_));
    ExpectAt(order, numbers[1], "a step from it");
    ASSERT_TRUE(rr_last(h_));
    ExpectAt(order, numbers.back(), "the last record");
    rr_next(h_);
    EXPECT_TRUE(rr_eof(h_));
    ExpectAt(order, numbers.back(), "a move on from the last");
    for (size_t k = numbers.size() - 1; k-- > 0;) {
      ASSERT_TRUE(rr_prior(h_));
      ExpectAt(order, numbers[k], "walking the page back");
    }
    rr_prior(h_);
    EXPECT_TRUE(rr_bof(h_));
    // Back from the end once more, then on to the end again.
    ASSERT_TRUE(rr_last(h_));
    ASSERT_TRUE(rr_prior(h_));
    ExpectAt(order, numbers[numbers.size() - 2], "a step back from the last");
    ASSERT_TRUE(rr_next(h_));
    ExpectAt(order, numbers.back(), "and forward again");
    EXPECT_EQ(rr_record_count(h_), static_cast<int32_t>(numbers.size()));
    ASSERT_TRUE(rr_set_candidates(h_, nullptr, 0, nullptr, 0));
    rr_tests_on(h_, 0);
  }
}

TEST_F(RecordNumbers, FollowStoresAndDeletesOutsideWhatTheCursorKnows) {
  ASSERT_TRUE(rr_select_index(h_, kByName));
  EXPECT_EQ(rr_record_count(h_), kRecords);
  // "A" sorts before every record the cursor knows, "Z" after them.
  for (const char* name : {"A", "Z", "N150"}) {
    ASSERT_TRUE(rr_first(h_));
    const int32_t identity = Add(name);
    const int32_t number = rr_rec_no(h_);  // the cursor stands on the new record
    const std::vector<int32_t> order = Walk(kByName);
    ASSERT_GE(number, 1) << name;
    EXPECT_EQ(order[static_cast<size_t>(number) - 1], identity) << name;
    EXPECT_EQ(rr_record_count(h_), static_cast<int32_t>(order.size())) << name;
  }
  EXPECT_EQ(rr_record_count(h_), kRecords + 3);
  // A store seen from the first records: its number as a fresh walk tells it.
  ASSERT_TRUE(rr_first(h_));
  const int32_t identity = Add("N2000");
  const std::vector<int32_t> order = Walk(kByName);
  const size_t number = static_cast<size_t>(std::find(order.begin(), order.end(), identity) - order.begin()) + 1;
  const int32_t mark = rr_mark_create(h_, identity);
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_goto_mark(h_, mark));
  ExpectAt(order, number, "a store");
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_EQ(rr_rec_no(h_), static_cast<int32_t>(number));  // the record that followed it
  EXPECT_EQ(rr_record_count(h_), kRecords + 3);
  ASSERT_TRUE(rr_last(h_));
  EXPECT_EQ(rr_rec_no(h_), kRecords + 3);
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_EQ(rr_rec_no(h_), kRecords + 2);
  EXPECT_EQ(rr_record_count(h_), kRecords + 2);
}

// A delete or a change of key of the record at the edge of what the cursor
// has walked, from either end or after a jump: the walk goes on from the
// record it then stands on as a fresh walk does.
TEST_F(RecordNumbers, WritesAtTheEdgeOfTheWalkLeaveTheRestWhole) {
  struct Case {
    const char* what;
    int direction;  // of the walk before and after the write
    bool jump;      // a jump to a number far from both ends instead
    bool rename;    // else a delete
  };
  const Case cases[] = {
      {"delete walking forward", +1, false, false}, {"delete walking back", -1, false, false},
      {"rename walking forward", +1, false, true},  {"rename walking back", -1, false, true},
      {"delete after a jump", +1, true, false},     {"rename after a jump", -1, true, true},
  };
  for (int32_t index : {0, int32_t{kByName}, int32_t{kByOrtName}}) {
    for (const Case& c : cases) {
      const std::string in = std::string(c.what) + " in index " + std::to_string(index);
      const std::vector<int32_t> before = Walk(index);
      Reopen(index);
      if (c.jump) {
        ASSERT_TRUE(rr_goto_rec_no(h_, static_cast<int32_t>(before.size() / 2))) << in;
      } else {
        // Past the reads that count as a scan.
        ASSERT_TRUE(c.direction > 0 ? rr_first(h_) : rr_last(h_)) << in;
        for (int i = 0; i < 150; ++i) ASSERT_TRUE(c.direction > 0 ? rr_next(h_) : rr_prior(h_)) << in;
      }
      const int32_t changed = rr_record_id(h_);
      const size_t place = static_cast<size_t>(std::find(before.begin(), before.end(), changed) - before.begin());
      if (c.rename) {
        Record record(h_);
        ASSERT_TRUE(rr_lock(h_) && rr_get_record(h_, record.Data())) << in;
        record.SetText(kName, "N150x");
        ASSERT_TRUE(rr_put_buffer(h_, record.Data()) && rr_store_over(h_)) << in << LastError(h_);
      } else {
        ASSERT_TRUE(rr_delete(h_)) << in << LastError(h_);
      }
      // On the changed record, or on the one that followed the deleted one.
      ASSERT_FALSE(rr_no_current(h_)) << in;
      EXPECT_EQ(rr_record_id(h_), c.rename ? changed : before[place + 1]) << in;
      const int32_t number = rr_rec_no(h_);
      std::vector<int32_t> rest;
      while (!(c.direction > 0 ? rr_eof(h_) : rr_bof(h_))) {
        rest.push_back(rr_record_id(h_));
        ASSERT_TRUE(c.direction > 0 ? rr_next(h_) : rr_prior(h_)) << in;
      }

      const std::vector<int32_t> after = Walk(index);
      ASSERT_EQ(after.size(), kRecords - (c.rename ? 0 : 1)) << in;
      const auto start = std::find(after.begin(), after.end(), rest.front());
      EXPECT_EQ(number, start - after.begin() + 1) << in;
      const std::vector<int32_t> expected =
          c.direction > 0 ? std::vector<int32_t>(start, after.end())
                          : std::vector<int32_t>(std::make_reverse_iterator(start + 1), after.rend());
      EXPECT_EQ(rest, expected) << in;
      // The next case starts from the same number of records.
      if (!c.rename) Add("N0");
    }
  }
}

TEST_F(RecordNumbers, CountOfAReaderFollowsTheWriter) {
  const int32_t reader = rr_new(0);
  ASSERT_EQ(Open(sample_, RR_MODE_READ_ONLY, reader), 0) << LastError(reader);
  ASSERT_TRUE(rr_select_index(reader, kByName));
  EXPECT_EQ(rr_record_count(reader), kRecords);
  ASSERT_TRUE(rr_last(reader));
  EXPECT_EQ(rr_rec_no(reader), kRecords);
  Add("A");
  // The next move sees the store; the count kept before is no longer told.
  ASSERT_TRUE(rr_last(reader));
  EXPECT_EQ(rr_rec_no(reader), kRecords + 1);
  EXPECT_EQ(rr_record_count(reader), kRecords + 1);
  ASSERT_TRUE(rr_first(reader));
  ASSERT_TRUE(rr_delete(h_));  // the writer's cursor stood on "A"
  ASSERT_TRUE(rr_next(reader));
  EXPECT_EQ(rr_rec_no(reader), 1);  // "A" gone: the reader stands on the record that followed it
  EXPECT_EQ(rr_record_count(reader), kRecords);
  rr_free(reader);
}

}  // namespace
}  // namespace vesk
