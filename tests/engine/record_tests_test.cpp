// Record tests: moves skip rejected records, counts count accepted ones,
// and a test may ask the engine about the table while it runs.
#include <cstring>

#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

// Accepts records whose Anzahl lies in [low, high]; reads the field's place
// from the engine while it runs, as the table layer does.
struct Window {
  int32_t h;
  int32_t low;
  int32_t high;
  int calls = 0;
  bool nested_move_refused = false;
  bool try_nested_move = false;
};

rr_bool InWindow(void* data, const uint8_t* record) {
  auto* window = static_cast<Window*>(data);
  ++window->calls;
  int32_t offset = 0, size = 0;
  uint8_t letter = 0;
  if (rr_record_size(window->h) <= 0 || !rr_field_info(window->h, kAnzahl, &offset, &size, &letter)) return 0;
  if (window->try_nested_move) window->nested_move_refused = !rr_first(window->h);
  int32_t anzahl;
  std::memcpy(&anzahl, record + offset, sizeof anzahl);
  return anzahl >= window->low && anzahl <= window->high;
}

class RecordTests : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenSample();
    for (int32_t i = 1; i <= 10; ++i) Add("N" + std::to_string(i), "", i);
  }
  void Filter(Window* first, Window* second) {
    rr_set_tests(h_, InWindow, first, InWindow, second);
    rr_enable_tests(h_, first != nullptr, second != nullptr);
    rr_tests_on(h_, 1);
  }
};

TEST_F(RecordTests, MovesSkipRejectedRecordsAndCountCountsAccepted) {
  Window even{h_, 4, 7};
  Filter(&even, nullptr);
  EXPECT_EQ(rr_record_count(h_), 4);
  EXPECT_EQ((std::vector<std::string>{"N4", "N5", "N6", "N7"}), Names());
  EXPECT_FALSE(rr_test_found(h_));  // the last move went off the end
  EXPECT_EQ(CurrentName(), "N7");
  ASSERT_TRUE(rr_last(h_));
  EXPECT_TRUE(rr_test_found(h_));
  EXPECT_EQ(CurrentName(), "N7");
  ASSERT_TRUE(rr_prior(h_));
  EXPECT_EQ(CurrentName(), "N6");
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_prior(h_));
  EXPECT_TRUE(rr_bof(h_));
  EXPECT_FALSE(rr_test_found(h_));
  EXPECT_EQ(CurrentName(), "N4");
  rr_tests_on(h_, 0);
  EXPECT_EQ(rr_record_count(h_), 10);
}

TEST_F(RecordTests, EveryEnabledTestMustAccept) {
  Window low{h_, 1, 6};
  Window high{h_, 5, 10};
  Filter(&low, &high);
  EXPECT_EQ((std::vector<std::string>{"N5", "N6"}), Names());
  rr_enable_tests(h_, 1, 0);
  EXPECT_EQ(rr_record_count(h_), 6);
  rr_enable_tests(h_, 0, 0);
  EXPECT_EQ(rr_record_count(h_), 10);
}

TEST_F(RecordTests, TestRejectingAllLeavesNoCurrentRecord) {
  Window none{h_, 100, 200};
  Filter(&none, nullptr);
  for (auto move : {rr_first, rr_last}) {
    ASSERT_TRUE(move(h_));
    EXPECT_TRUE(rr_bof(h_));
    EXPECT_TRUE(rr_eof(h_));
    EXPECT_TRUE(rr_no_current(h_));
    EXPECT_FALSE(rr_test_found(h_));
  }
  EXPECT_EQ(rr_record_count(h_), 0);
  Record record(h_);
  EXPECT_TRUE(rr_get_record(h_, record.Data()));
  EXPECT_FALSE(record.Has(kName));
}

TEST_F(RecordTests, DeleteUnderTestsMovesToTheNextAcceptedRecord) {
  Window middle{h_, 3, 6};
  Filter(&middle, nullptr);
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_EQ(CurrentName(), "N4");
  ASSERT_TRUE(rr_last(h_));
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_EQ(CurrentName(), "N5");
}

TEST_F(RecordTests, RollbackAndDeleteStandOnlyOnAcceptedRecords) {
  Window middle{h_, 5, 6};
  Filter(&middle, nullptr);
  ASSERT_TRUE(rr_last(h_));
  ASSERT_TRUE(rr_batch_begin(h_));
  Add("N11", "", 5);  // accepted, then undone
  ASSERT_TRUE(rr_batch_rollback(h_)) << LastError(h_);
  EXPECT_EQ(CurrentName(), "N5");
  EXPECT_EQ(rr_record_count(h_), 2);
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_EQ(CurrentName(), "N6");
  // Rejected records on both sides are passed over: none is left to stand on.
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_TRUE(rr_no_current(h_));
  rr_tests_on(h_, 0);
  EXPECT_EQ(rr_record_count(h_), 8);
}

TEST_F(RecordTests, MovesInsideATestAreRefused) {
  Window window{h_, 1, 10};
  window.try_nested_move = true;
  Filter(&window, nullptr);
  ASSERT_TRUE(rr_first(h_));
  EXPECT_TRUE(window.nested_move_refused);
  EXPECT_EQ(CurrentName(), "N1");
  window.try_nested_move = false;
  EXPECT_EQ(rr_record_count(h_), 10);
}

}  // namespace
}  // namespace vesk
