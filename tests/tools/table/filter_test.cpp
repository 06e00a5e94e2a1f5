// Filtering through the engine's record tests: the OnFilterRecord event, the
// Filter expression, the four setters and FindRecord.
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {
namespace {

class TableFilterTest : public TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    path_ = CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Berta", 45}, {"Carl", 50}, {"Dora", 20}});
  }
  std::string path_;
};

TEST_F(TableFilterTest, EventDecidesWhichRecordsTheDatasetShows) {
  auto table = Open(path_);
  int minimum = 40;
  table->SetOnFilterRecord(
      [&](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Alter")->AsInteger() >= minimum; });
  EXPECT_EQ(table->RecordCount(), 5);  // not filtered yet
  table->SetFiltered(true);
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Bert", "Berta", "Carl"}));
  EXPECT_EQ(table->RecordCount(), 3);
  table->Last();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Carl");

  // Setting Filtered to its value again still goes to the first record.
  table->SetFiltered(true);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");

  // A new handler takes effect at once.
  table->SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Name")->AsString().size() == 4; });
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Anna", "Bert", "Carl", "Dora"}));
  table->SetFiltered(false);
  EXPECT_EQ(table->RecordCount(), 5);
  minimum = 0;
}

TEST_F(TableFilterTest, FailingEventIsShownAndAcceptsTheRecord) {
  auto table = Open(path_);
  table->SetOnFilterRecord([](TDataSet& dataset, bool& accept) {
    if (dataset.FieldByName("Name")->AsString() == "Carl") throw EDatabaseError("kaputt");
    accept = false;
  });
  table->SetFiltered(true);
  EXPECT_EQ(Column(*table, "Name"), std::vector<std::string>{"Carl"});
  ASSERT_FALSE(errors_.empty());
  EXPECT_EQ(errors_[0], "kaputt");
}

TEST_F(TableFilterTest, StoredFilterShowsOnlyMatchingRecordsFromTheFirstFetch) {
  TRadiRidir table;
  table.BeginLoading();
  table.SetTableName(path_);
  table.SetFilterText("Name = 'B*'");
  table.SetFiltered(true);
  table.SetActive(true);
  table.EndLoading();
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Bert");
  EXPECT_EQ(Column(table, "Name"), (std::vector<std::string>{"Bert", "Berta"}));
  EXPECT_EQ(table.RecordCount(), 2);
  // The same after closing and opening again.
  table.Close();
  table.Open();
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Bert");
}

TEST_F(TableFilterTest, ExpressionAndEventMustBothAccept) {
  auto table = Open(path_);
  table->SetFilterText("Alter >= 40");
  table->SetFiltered(true);
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Bert", "Berta", "Carl"}));
  table->SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Name")->AsString() != "Berta"; });
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Bert", "Carl"}));
  // With an empty Filter only the event decides.
  table->SetFilterText("");
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Anna", "Bert", "Carl", "Dora"}));
}

TEST_F(TableFilterTest, EqualFilterTextOrOptionsDoNotMove) {
  auto table = Open(path_);
  table->SetFilterText("Name = 'b*'");
  table->SetFilterOptions(foCaseInsensitive);
  table->SetFiltered(true);
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Bert", "Berta"}));
  table->Last();
  table->SetFilterText("Name = 'b*'");
  table->SetFilterOptions(foCaseInsensitive);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Berta");
  // Other options take effect and go to the first record.
  table->SetFilterOptions(0);
  EXPECT_TRUE(table->IsEmpty());
  table->SetFilterText("Name = 'B*'");
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");
  table->SetFilterOptions(foNoPartialCompare);
  EXPECT_TRUE(table->IsEmpty());
}

TEST_F(TableFilterTest, FilterTextThatDoesNotParseKeepsThePreviousOne) {
  auto table = Open(path_);
  table->SetFilterText("Alter > 40");
  table->SetFiltered(true);
  table->Last();
  EXPECT_THROW(table->SetFilterText("Alter >"), EDatabaseError);
  EXPECT_EQ(table->Filter(), "Alter > 40");
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Berta", "Carl"}));
  EXPECT_THROW(table->SetFilterText("Unbekannt = 1"), EDatabaseError);
  EXPECT_EQ(table->RecordCount(), 2);
}

TEST_F(TableFilterTest, FilterTextThatDoesNotParseFailsTheFirstFetch) {
  TRadiRidir table;
  table.SetTableName(path_);
  table.SetFilterText("Name = ");
  table.SetFiltered(true);
  EXPECT_THROW(table.Open(), ERadiRidirError);
  EXPECT_FALSE(table.Active());
}

TEST_F(TableFilterTest, FindOnAnUnfilteredDatasetUsesTheFilterAndShowsEverything) {
  auto table = Open(path_);
  table->SetFilterText("Alter >= 45");
  EXPECT_TRUE(table->FindFirst());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Berta");
  EXPECT_EQ(table->RecordCount(), 5);
  table->Next();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Carl");
  table->Next();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Dora");  // unfiltered again
  EXPECT_TRUE(table->FindPrior());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Carl");
  EXPECT_TRUE(table->FindPrior());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Berta");
  EXPECT_FALSE(table->FindPrior());
  EXPECT_FALSE(table->Found());
  EXPECT_TRUE(table->FindLast());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Carl");
  EXPECT_FALSE(table->FindNext());
  EXPECT_EQ(Column(*table, "Name").size(), 5u);

  // A filtered dataset finds within what it shows.
  table->SetFiltered(true);
  EXPECT_TRUE(table->FindLast());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Carl");
  EXPECT_EQ(table->RecordCount(), 2);
}

}  // namespace
}  // namespace vesk
