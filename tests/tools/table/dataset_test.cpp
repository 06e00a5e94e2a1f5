// TRadiRidir as a dataset: table name and open rules, read-only use,
// fetching and navigation, editing with lock states, bookmarks, indexes and
// engine failures.
#include <filesystem>
#include <fstream>

#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/field.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"
#include "tools/table/RadiRidirError.h"

namespace vesk {
namespace {

using TableDatasetTest = TableTest;

// Reaches the editing operation the base class normally guards.
class ProbeTable : public TRadiRidir {
 public:
  using TRadiRidir::InternalEdit;
};

TEST_F(TableDatasetTest, TableNameWarnsAboutMissingOrForeignNamesAndKeepsThem) {
  TRadiRidir table;
  table.SetTableName("Data/adressen.mti");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            "Warning. Data/adressen.mti is an invalid table name - it does not exist or has an invalid format.");
  EXPECT_EQ(table.TableName(), "Data/adressen.mti");
  try {
    table.Open();
    FAIL() << "opened a missing table";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "The table Data/adressen.mti cannot be opened - it may be corrupted. Suggest rebuild");
  }
  EXPECT_FALSE(table.Active());

  const std::string foreign = Path("notes.txt");
  std::ofstream(foreign) << "text";
  table.SetTableName(foreign);
  EXPECT_EQ(messages_.size(), 2u);

  // Folder separators written "\" are accepted like the engine accepts them;
  // the extension compares in upper case.
  const std::string people = CreatePeople({{"Anna", 30}});
  const std::string upper = Path("PEOPLE._MT");
  std::filesystem::copy_file(people, upper);
  messages_.clear();
  std::string backslashed = people;
  backslashed[backslashed.rfind('/')] = '\\';
  table.SetTableName(backslashed);
  table.SetTableName(upper);
  EXPECT_TRUE(messages_.empty());
  table.Open();
  EXPECT_EQ(table.FieldByName("Name")->AsString(), "Anna");
  try {
    table.SetTableName(people);
    FAIL() << "renamed an open table";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "RadiRidir must be closed to set new table name.");
  }
}

TEST_F(TableDatasetTest, SecondWriterIsRefusedAndReadersMayOpen) {
  const std::string path = CreatePeople({{"Anna", 30}});
  auto writer = Open(path);
  TRadiRidir second;
  second.SetTableName(path);
  try {
    second.Open();
    FAIL() << "two writers";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.what(), "The table " + path + " cannot be opened for exclusive use");
  }
  EXPECT_FALSE(second.Active());
  second.SetReadOnly(true);
  second.Open();
  EXPECT_EQ(second.RecordCount(), 1);
}

TEST_F(TableDatasetTest, ReadOnlyOpensForReadingAndRefusesEditing) {
  const std::string path = CreatePeople({{"Anna", 30}});
  auto table = Open(path, true);
  EXPECT_FALSE(table->CanModify());
  EXPECT_EQ(table->FieldByName("Alter")->AsInteger(), 30);
  try {
    table->Edit();
    FAIL() << "edited a read-only dataset";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.what(), std::string(kSDataSetReadOnly));
  }
  EXPECT_THROW(table->SetReadOnly(false), EDatabaseError);
  table->Close();
  table->SetReadOnly(false);
  table->Open();
  EXPECT_TRUE(table->CanModify());
}

TEST_F(TableDatasetTest, FetchesReadWhereFirstAndLastLeftTheCursor) {
  auto table = Open(CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Carl", 50}}));
  TField* name = table->FieldByName("Name");
  EXPECT_EQ(name->AsString(), "Anna");
  EXPECT_EQ(table->RecNo(), 1);
  table->Next();
  EXPECT_EQ(name->AsString(), "Bert");
  table->Last();
  EXPECT_EQ(name->AsString(), "Carl");
  EXPECT_EQ(table->RecNo(), 3);
  table->Prior();
  EXPECT_EQ(name->AsString(), "Bert");
  table->First();
  EXPECT_EQ(name->AsString(), "Anna");
  EXPECT_TRUE(table->Bof());
  table->MoveBy(5);
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(name->AsString(), "Carl");
  table->SetRecNo(2);
  EXPECT_EQ(name->AsString(), "Bert");
  EXPECT_EQ(table->RecordCount(), 3);
}

TEST_F(TableDatasetTest, EmptyTableHasNoRecordNumber) {
  auto table = Open(CreatePeople({}));
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_EQ(table->RecNo(), -1);
  EXPECT_TRUE(table->FieldByName("Name")->IsNull());
  table->Last();
  EXPECT_TRUE(table->Bof() && table->Eof());
  AppendRecord(*table, {{"Name", "Erste"}});
  EXPECT_EQ(table->RecNo(), 1);
}

TEST_F(TableDatasetTest, EditingPostsCancelsDeletesAndKeepsOldValues) {
  const std::string path = CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Carl", 50}});
  {
    auto table = Open(path);
    TField* age = table->FieldByName("Alter");
    table->Next();
    table->Edit();
    age->SetAsInteger(41);
    EXPECT_EQ(age->OldValue().AsInteger(), 40);
    EXPECT_EQ(age->NewValue().AsInteger(), 41);
    table->Post();
    EXPECT_EQ(age->AsInteger(), 41);

    table->Edit();
    age->SetAsInteger(99);
    table->Cancel();
    EXPECT_EQ(age->AsInteger(), 41);

    // A record inserted in front of another has no old values of its own.
    table->Insert();
    EXPECT_TRUE(age->OldValue().IsNull());
    table->FieldByName("Name")->SetText("Dora");
    table->Post();
    EXPECT_EQ(table->FieldByName("Name")->AsString(), "Dora");

    table->First();
    table->Delete();
    EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");
  }
  auto table = Open(path);
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Bert", "Carl", "Dora"}));
  EXPECT_EQ(Column(*table, "Alter"), (std::vector<std::string>{"41", "50", ""}));
}

TEST_F(TableDatasetTest, LockedBufferIsRefusedBeforeTheEngineIsAsked) {
  const std::string path = CreatePeople({{"Anna", 30}});
  ProbeTable table;
  table.SetTableName(path);
  table.Open();
  table.InternalEdit();
  try {
    table.InternalEdit();
    FAIL() << "locked twice";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "That record is already locked");
  }
}

TEST_F(TableDatasetTest, BookmarksCompareByIdentityAndFollowTheirRecord) {
  auto table = Open(CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Carl", 50}}));
  table->Next();
  TBookmark bert = table->GetBookmark();
  TBookmark bertAgain = table->GetBookmark();
  table->Next();
  TBookmark carl = table->GetBookmark();
  EXPECT_EQ(table->CompareBookmarks(bert, bertAgain), 0);
  EXPECT_EQ(table->CompareBookmarks(bert, carl), 1);
  EXPECT_EQ(table->CompareBookmarks(carl, bert), 1);
  EXPECT_EQ(table->CompareBookmarks(bert, TBookmark{}), 1);
  EXPECT_FALSE(table->BookmarkValid(TBookmark{}));

  // Another record in front does not disturb the mark.
  table->Insert();
  table->FieldByName("Name")->SetText("Aaron");
  table->Post();
  table->GotoBookmark(bert);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");

  table->Delete();
  EXPECT_FALSE(table->BookmarkValid(bert));
  EXPECT_TRUE(table->BookmarkValid(carl));
  try {
    table->GotoBookmark(bert);
    FAIL() << "went to a deleted record";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "The bookmarked record is unavailable or deleted");
  }
  table->FreeBookmark(bert);
  EXPECT_TRUE(bert.empty());
  table->FreeBookmark(bertAgain);
  table->FreeBookmark(carl);
  table->Close();
  TBookmark none;
  EXPECT_THROW(table->FreeBookmark(none), EDatabaseError);
}

TEST_F(TableDatasetTest, IndexNameOrdersTheRecordsAndWaitsForLoading) {
  const std::string path = CreatePeople({{"Carl", 50}, {"anna", 30}, {"Bert", 40}});
  auto table = Open(path);
  EXPECT_EQ(table->IndexName(), "");
  table->Last();
  table->SetIndexName("ByName");
  EXPECT_EQ(table->IndexName(), "ByName");
  // The index sorts in the user's language, and the dataset is on the first record.
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "anna");
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"anna", "Bert", "Carl"}));
  try {
    table->SetIndexName("ByAge");
    FAIL() << "unknown index selected";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Index name ByAge not found.");
  }
  table->Close();
  EXPECT_EQ(table->IndexName(), "");

  TRadiRidir stored;
  stored.BeginLoading();
  stored.SetTableName(path);
  stored.SetIndexName("ByName");
  stored.SetActive(true);
  EXPECT_FALSE(stored.Active());
  stored.EndLoading();
  EXPECT_EQ(stored.IndexName(), "ByName");
  EXPECT_EQ(Column(stored, "Name"), (std::vector<std::string>{"anna", "Bert", "Carl"}));
}

TEST_F(TableDatasetTest, EngineFailuresBecomeRadiRidirErrors) {
  const std::string path = CreatePeople({{"Anna", 30}, {"Bert", 40}});
  TRadiRidir table;
  table.SetTableName(path);
  try {
    table.RecordCount();
    FAIL() << "counted a closed table";
  } catch (const ERadiRidirError& error) {
    EXPECT_STRNE(error.what(), "");
    EXPECT_STRNE(error.what(), kSUnexpectedEngineError);
  }

  // A failing calculated field inside a fetch: the engine has nothing to say.
  AddField<TStringField>(table, "Name");
  auto* age = AddField<TIntegerField>(table, "Alter");
  auto* doubled = AddField<TIntegerField>(table, "Doppelt", fkCalculated);
  bool fail = false;
  table.OnCalcFields = [&](TDataSet&) {
    if (fail) throw EDatabaseError("calculation failed");
    doubled->SetAsInteger(age->AsInteger() * 2);
  };
  table.Open();
  EXPECT_EQ(doubled->AsInteger(), 60);
  table.Next();
  EXPECT_EQ(doubled->AsInteger(), 80);
  fail = true;
  try {
    table.First();
    FAIL() << "failure swallowed";
  } catch (const ERadiRidirError& error) {
    EXPECT_STREQ(error.what(), kSUnexpectedEngineError);
  }
}

TEST_F(TableDatasetTest, UnhandledFailuresGoToTheApplicationsDisplay) {
  TRadiRidir table;
  table.InternalHandleException(EDatabaseError("shown"));
  EXPECT_EQ(errors_, std::vector<std::string>{"shown"});
  EXPECT_EQ(table.About(), "V4.0");
}

}  // namespace
}  // namespace vesk
