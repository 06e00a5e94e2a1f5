// The record count of a dataset filtered by its expression is kept between
// moves, so it must be taken anew whenever what it counts may have changed;
// and a filter that fails record by record is reported once.
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/field.h"

namespace vesk {
namespace {

class FilteredCountTest : public TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    table_ = Open(CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Berta", 45}, {"Carl", 50}, {"Dora", 20}}));
    table_->SetFilterText("Alter >= 40");
    table_->SetFiltered(true);
  }
  void TearDown() override {
    table_.reset();
    TableTest::TearDown();
  }
  // Moves to the record of that name in the filtered view.
  void GoTo(const std::string& name) {
    for (table_->First(); !table_->Eof(); table_->Next())
      if (table_->FieldByName("Name")->AsString() == name) return;
    ADD_FAILURE() << name << " not shown";
  }

  std::unique_ptr<TRadiRidir> table_;
};

TEST_F(FilteredCountTest, CountFollowsEveryChangeOfRecordsAndFilter) {
  EXPECT_EQ(table_->RecordCount(), 3);
  table_->Next();
  EXPECT_EQ(table_->RecordCount(), 3);

  // Contents: a new record that passes, an edit that makes one fail, a delete.
  AppendRecord(*table_, {{"Name", "Emil"}, {"Alter", "60"}});
  EXPECT_EQ(table_->RecordCount(), 4);
  AppendRecord(*table_, {{"Name", "Fritz"}, {"Alter", "10"}});
  EXPECT_EQ(table_->RecordCount(), 4);
  GoTo("Bert");
  table_->Edit();
  table_->FieldByName("Alter")->SetAsInteger(39);
  table_->Post();
  EXPECT_EQ(table_->RecordCount(), 3);
  GoTo("Carl");
  table_->Delete();
  EXPECT_EQ(table_->RecordCount(), 2);
  // An insert given up changes nothing.
  table_->Append();
  table_->FieldByName("Name")->SetAsString("Gerd");
  table_->FieldByName("Alter")->SetAsInteger(70);
  table_->Cancel();
  EXPECT_EQ(table_->RecordCount(), 2);

  // The filter: its text, its options, switched off and on, an event added.
  table_->SetFilterText("Alter >= 20");
  EXPECT_EQ(table_->RecordCount(), 5);
  table_->SetFilterText("Name = 'b*'");
  EXPECT_EQ(table_->RecordCount(), 0);
  table_->SetFilterOptions(foCaseInsensitive);
  EXPECT_EQ(table_->RecordCount(), 2);
  table_->SetFiltered(false);
  EXPECT_EQ(table_->RecordCount(), 6);
  table_->SetFiltered(true);
  EXPECT_EQ(table_->RecordCount(), 2);
  table_->SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Alter")->AsInteger() > 40; });
  EXPECT_EQ(table_->RecordCount(), 1);
  table_->SetOnFilterRecord(nullptr);
  EXPECT_EQ(table_->RecordCount(), 2);

  // Another dataset's record is counted after closing and opening again.
  const std::string path = table_->TableName();
  table_->Close();
  AppendRecord(*Open(path), {{"Name", "Bodo"}, {"Alter", "33"}});
  table_->Open();
  EXPECT_EQ(table_->RecordCount(), 3);
  EXPECT_TRUE(errors_.empty());
}

// "Name = True" reads each name as a truth value: it prepares on the record
// named True and fails on every other name.
TEST_F(FilteredCountTest, FailingFilterIsReportedOncePerChange) {
  AppendRecord(*table_, {{"Name", "True"}, {"Alter", "1"}});
  table_->SetFiltered(false);
  GoTo("True");
  table_->SetFilterText("Name = True");
  table_->SetFiltered(true);
  EXPECT_EQ(table_->RecordCount(), 1);
  EXPECT_EQ(Column(*table_, "Name"), std::vector<std::string>{"True"});
  table_->Last();
  EXPECT_EQ(errors_.size(), 1u);
  ASSERT_FALSE(errors_.empty());
  EXPECT_EQ(errors_[0], "Ungültige Variant-Typumwandlung");

  // A change of the filter may fail anew, and is reported once again.
  table_->SetFilterText("Name = True OR Alter = 1");
  EXPECT_EQ(table_->RecordCount(), 1);
  EXPECT_EQ(errors_.size(), 2u);
}

}  // namespace
}  // namespace vesk
