// Cursor moves, the three flags, record numbers and counts.
#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Navigation = EngineTest;

void ExpectFlags(int32_t h, bool bof, bool eof, bool no_current) {
  EXPECT_EQ(rr_bof(h), bof);
  EXPECT_EQ(rr_eof(h), eof);
  EXPECT_EQ(rr_no_current(h), no_current);
}

TEST_F(Navigation, EmptyTableHasNoCurrentRecordAfterEveryMove) {
  OpenSample();
  ExpectFlags(h_, true, true, true);  // right after open, as after a move to the first record
  for (auto move : {rr_first, rr_last, rr_next, rr_prior}) {
    EXPECT_TRUE(move(h_)) << LastError(h_);
    EXPECT_TRUE(rr_no_current(h_));
    EXPECT_FALSE(rr_test_found(h_));
  }
  EXPECT_TRUE(rr_first(h_));
  ExpectFlags(h_, true, true, true);
  EXPECT_TRUE(rr_last(h_));
  ExpectFlags(h_, true, true, true);
  Record record(h_);
  record.Data()[kName] = 7;
  EXPECT_TRUE(rr_get_record(h_, record.Data())) << LastError(h_);
  EXPECT_FALSE(record.Has(kName));
  EXPECT_EQ(rr_record_count(h_), 0);
  EXPECT_EQ(rr_rec_no(h_), 0);
  EXPECT_EQ(rr_record_id(h_), 0);
  EXPECT_EQ(LastError(h_), "No current record");
}

TEST_F(Navigation, SingleRecordStaysCurrentWhenMovingOffEitherEnd) {
  OpenSample();
  Add("Adam");
  ASSERT_TRUE(rr_first(h_));
  ExpectFlags(h_, false, false, false);
  EXPECT_TRUE(rr_prior(h_));
  ExpectFlags(h_, true, false, false);
  EXPECT_EQ(CurrentName(), "Adam");
  EXPECT_TRUE(rr_next(h_));
  EXPECT_TRUE(rr_eof(h_));
  EXPECT_EQ(CurrentName(), "Adam");
  EXPECT_EQ(rr_rec_no(h_), 1);
}

TEST_F(Navigation, MovesWalkTheOrderAndSuccessfulMovesClearTheFlags) {
  OpenSample();
  Add("Adam");
  Add("Berta");
  Add("Cäsar");
  rr_close(h_);
  ASSERT_EQ(Open(sample_), 0) << LastError(h_);
  // After opening the engine stands on the first record.
  ExpectFlags(h_, false, false, false);
  EXPECT_EQ(CurrentName(), "Adam");
  EXPECT_EQ((std::vector<std::string>{"Adam", "Berta", "Cäsar"}), Names());
  EXPECT_TRUE(rr_eof(h_));
  EXPECT_EQ(CurrentName(), "Cäsar");  // ordinal 5 after moving off the end
  EXPECT_TRUE(rr_prior(h_));
  ExpectFlags(h_, false, false, false);
  EXPECT_EQ(CurrentName(), "Berta");
  EXPECT_EQ(rr_rec_no(h_), 2);
  EXPECT_TRUE(rr_prior(h_));
  EXPECT_TRUE(rr_prior(h_));
  EXPECT_TRUE(rr_bof(h_));
  EXPECT_EQ(CurrentName(), "Adam");
  EXPECT_TRUE(rr_last(h_));
  ExpectFlags(h_, false, false, false);
  EXPECT_EQ(CurrentName(), "Cäsar");
  EXPECT_EQ(rr_record_count(h_), 3);
}

TEST_F(Navigation, GoToRecordNumberChecksItsRange) {
  OpenSample();
  Add("Adam");
  Add("Berta");
  EXPECT_TRUE(rr_goto_rec_no(h_, 2));
  EXPECT_EQ(CurrentName(), "Berta");
  EXPECT_EQ(rr_rec_no(h_), 2);
  EXPECT_FALSE(rr_goto_rec_no(h_, 3));
  EXPECT_EQ(LastError(h_), "Record number 3 out of range");
  EXPECT_FALSE(rr_goto_rec_no(h_, 0));
  EXPECT_EQ(CurrentName(), "Berta");
  EXPECT_EQ(LastError(h_), "");
}

TEST_F(Navigation, ScanReadsEveryRecordAfterJumps) {
  // The engine reads along one statement; jumps in between must not make it
  // hand out a wrong record.
  OpenSample();
  for (int i = 0; i < 50; ++i) Add("N" + std::to_string(100 + i));
  ASSERT_TRUE(rr_select_index(h_, kByName));
  for (int32_t start : {1, 30, 50}) {
    ASSERT_TRUE(rr_goto_rec_no(h_, start));
    for (int32_t n = start; n <= 50; ++n) {
      ASSERT_EQ(CurrentName(), "N" + std::to_string(99 + n));
      ASSERT_TRUE(rr_next(h_));
    }
  }
  ASSERT_TRUE(rr_select_index(h_, 0));
  ASSERT_TRUE(rr_last(h_));
  for (int32_t n = 50; n >= 1; --n) {
    ASSERT_EQ(CurrentName(), "N" + std::to_string(99 + n));
    ASSERT_TRUE(rr_prior(h_));
  }
}

}  // namespace
}  // namespace vesk
