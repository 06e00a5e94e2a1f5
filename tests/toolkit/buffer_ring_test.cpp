// The record buffer ring as a grid of 10 rows sees it over 25 records.
#include <gtest/gtest.h>

#include "runtime/exceptions.h"
#include "test_support.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/field.h"

namespace vesk {
namespace {

class BufferRing : public ::testing::Test {
 protected:
  void SetUp() override {
    FillNumbered(table, 25);
    source.SetDataSet(&table);
    grid.SetDataSource(&source);
    grid.SetBufferCount(10);
    edit.SetDataSource(&source);
    table.Open();
  }
  int Nr() { return table.FieldByName("Nr")->AsInteger(); }

  TMemoryDataSet table;
  TDataSource source;
  RecordingLink grid;
  RecordingLink edit;  // one buffer, always on the active record
};

TEST_F(BufferRing, ScrollsBothWaysWithinAndBeyondTheWindow) {
  EXPECT_EQ(Window(grid), Range(1, 10));
  EXPECT_EQ(table.LiveBuffers(), 11);  // ten and the spare
  EXPECT_EQ(table.Fetches(), 10);
  EXPECT_TRUE(table.Bof());

  for (int i = 0; i < 9; ++i) table.Next();
  EXPECT_EQ(grid.ActiveRecord(), 9);
  EXPECT_EQ(table.Fetches(), 10) << "moving inside the window fetches nothing";
  EXPECT_EQ(Nr(), 10);

  grid.scrolls.clear();
  table.Next();
  EXPECT_EQ(Window(grid), Range(2, 11));
  EXPECT_EQ(grid.ActiveRecord(), 9);
  EXPECT_EQ(grid.scrolls, std::vector<int>{1});
  EXPECT_EQ(edit.ActiveRecord(), 0);
  EXPECT_EQ(table.RecNo(), 11);

  EXPECT_EQ(table.MoveBy(100), 14);
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(Window(grid), Range(16, 25));
  EXPECT_EQ(table.MoveBy(1), 0);
  EXPECT_EQ(Nr(), 25);

  EXPECT_EQ(table.MoveBy(-12), -12);
  EXPECT_EQ(Nr(), 13);
  EXPECT_EQ(Window(grid), Range(13, 22));
  EXPECT_EQ(grid.ActiveRecord(), 0);
  EXPECT_FALSE(table.Bof());
  EXPECT_FALSE(table.Eof());

  EXPECT_EQ(table.MoveBy(-100), -12);
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(Window(grid), Range(1, 10));

  table.Last();
  EXPECT_EQ(Window(grid), Range(16, 25));
  EXPECT_EQ(grid.ActiveRecord(), 9);
  EXPECT_TRUE(table.Eof());
  table.First();
  EXPECT_EQ(Window(grid), Range(1, 10));
  EXPECT_EQ(grid.ActiveRecord(), 0);
  EXPECT_EQ(table.LiveBuffers(), 11);
}

TEST_F(BufferRing, ResyncCentresOrKeepsTheActiveRow) {
  table.MoveBy(14);
  const TBookmark fifteen = table.GetBookmark();
  table.First();
  const int before = table.Fetches();
  table.GotoBookmark(fifteen);  // re-reads exact and centred
  EXPECT_EQ(Window(grid), Range(11, 20));
  EXPECT_EQ(grid.ActiveRecord(), 4);
  EXPECT_EQ(Nr(), 15);
  EXPECT_EQ(table.Fetches() - before, 10);

  table.Next();
  table.Refresh();  // keeps the active row where it is
  EXPECT_EQ(Window(grid), Range(11, 20));
  EXPECT_EQ(Nr(), 16);

  // Near the start there are not enough records to centre.
  table.First();
  table.MoveBy(2);
  const TBookmark three = table.GetBookmark();
  table.Last();
  table.GotoBookmark(three);
  EXPECT_EQ(Window(grid), Range(1, 10));
  EXPECT_EQ(grid.ActiveRecord(), 2);
}

TEST_F(BufferRing, EditsAndInsertsInTheMiddle) {
  table.MoveBy(4);
  table.Edit();
  table.FieldByName("Name")->SetAsString("Geändert");
  table.Post();
  EXPECT_EQ(Window(grid), Range(1, 10));
  EXPECT_EQ(grid.ActiveRecord(), 4);
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Geändert");
  table.Next();
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Name6");
  table.Prior();

  // A new record stands in front of the active one; the last row drops out.
  table.Insert();
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(Window(grid), (std::vector<int>{1, 2, 3, 4, 0, 5, 6, 7, 8, 9}));
  table.FieldByName("Nr")->SetAsInteger(100);
  table.Post();
  EXPECT_EQ(Window(grid), (std::vector<int>{1, 2, 3, 4, 100, 5, 6, 7, 8, 9}));
  EXPECT_EQ(table.RecNo(), 5);
  EXPECT_EQ(table.StoredCount(), 26);

  table.Next();
  table.Insert();
  table.Cancel();
  EXPECT_EQ(Nr(), 5);
  EXPECT_EQ(Window(grid), (std::vector<int>{1, 2, 3, 4, 100, 5, 6, 7, 8, 9}));

  table.Append();
  EXPECT_EQ(grid.ActiveRecord(), 9);
  table.FieldByName("Nr")->SetAsInteger(200);
  table.Post();
  EXPECT_EQ(Window(grid), (std::vector<int>{17, 18, 19, 20, 21, 22, 23, 24, 25, 200}));
  EXPECT_EQ(table.StoredCount(), 27);
}

TEST_F(BufferRing, DeletesAtBothEndsUntilEmpty) {
  table.Delete();
  EXPECT_EQ(Nr(), 2);
  EXPECT_EQ(Window(grid), Range(2, 11));

  table.Last();
  table.Delete();
  EXPECT_EQ(Nr(), 24);
  EXPECT_EQ(Window(grid), Range(15, 24));
  EXPECT_EQ(grid.ActiveRecord(), 9);
  table.Next();
  EXPECT_TRUE(table.Eof());

  table.MoveBy(-5);
  table.Delete();  // the next record takes its place, a record above fills the ring
  EXPECT_EQ(Nr(), 20);
  EXPECT_EQ(Window(grid), (std::vector<int>{14, 15, 16, 17, 18, 20, 21, 22, 23, 24}));
  EXPECT_EQ(grid.ActiveRecord(), 5);

  while (!table.IsEmpty()) table.Delete();
  EXPECT_TRUE(table.Bof());
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.RecNo(), -1);
  EXPECT_EQ(grid.RecordCount(), 0);
  EXPECT_EQ(table.StoredCount(), 0);
  EXPECT_THROW(table.Delete(), EDatabaseError);

  // An empty dataset edits by inserting.
  table.Edit();
  EXPECT_EQ(table.State(), dsInsert);
  table.FieldByName("Nr")->SetAsInteger(1);
  table.Post();
  EXPECT_EQ(Window(grid), std::vector<int>{1});
}

TEST_F(BufferRing, FollowsTheLinksBufferCount) {
  table.MoveBy(7);
  grid.SetBufferCount(5);
  EXPECT_EQ(table.LiveBuffers(), 6);
  EXPECT_EQ(Nr(), 8);
  const std::vector<int> small = Window(grid);
  ASSERT_EQ(small.size(), 5u);
  EXPECT_EQ(small[grid.ActiveRecord()], 8);

  grid.SetBufferCount(10);
  EXPECT_EQ(table.LiveBuffers(), 11);
  const std::vector<int> large = Window(grid);
  ASSERT_EQ(large.size(), 10u);
  EXPECT_EQ(large[grid.ActiveRecord()], 8);
  EXPECT_EQ(large.front() + 9, large.back());

  grid.SetDataSource(nullptr);
  EXPECT_EQ(table.LiveBuffers(), 2);
  EXPECT_EQ(Nr(), 8);
  table.Close();
  EXPECT_EQ(table.LiveBuffers(), 0);
}

}  // namespace
}  // namespace vesk
