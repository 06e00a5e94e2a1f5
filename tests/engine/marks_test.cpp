// Marks stay with their record while others come and go.
#include "tests/engine/engine_fixture.h"

namespace vesk {
namespace {

using Marks = EngineTest;

TEST_F(Marks, MarkFollowsItsRecordAcrossInsertsAndDeletes) {
  OpenSample();
  Add("Berta");
  int32_t cesar = Add("Cäsar");
  Add("Dora");
  ASSERT_TRUE(rr_select_index(h_, kByName));
  int32_t mark = rr_mark_create(h_, cesar);
  ASSERT_GT(mark, 0);
  Add("Adam");  // lands before the marked record
  ASSERT_TRUE(rr_first(h_));
  ASSERT_TRUE(rr_delete(h_));
  Add("Anton");
  ASSERT_TRUE(rr_last(h_));
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_GE(rr_mark_state(h_, mark), 0);
  ASSERT_TRUE(rr_goto_mark(h_, mark)) << LastError(h_);
  EXPECT_EQ(CurrentName(), "Cäsar");
  EXPECT_EQ(rr_rec_no(h_), 3);
  ASSERT_TRUE(rr_delete(h_));
  EXPECT_LT(rr_mark_state(h_, mark), 0);
  EXPECT_FALSE(rr_goto_mark(h_, mark));
  EXPECT_EQ(CurrentName(), "Berta");  // a failed go-to leaves the cursor
  rr_mark_free(h_, mark);
  EXPECT_LT(rr_mark_state(h_, mark), 0);
  EXPECT_EQ(LastError(h_), "Mark " + std::to_string(mark) + " does not exist");
  EXPECT_EQ(rr_mark_create(h_, 0), 0);
}

}  // namespace
}  // namespace vesk
