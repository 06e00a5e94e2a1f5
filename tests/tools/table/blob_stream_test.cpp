// Memo fields through TBlobStream: reading, writing, seeking, cutting, the
// engine holding writes until post, and the refusals.
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/db_messages.h"
#include "toolkit/data/stream.h"

namespace vesk {
namespace {

using TableBlobStreamTest = TableTest;

TEST_F(TableBlobStreamTest, MemoIsWrittenReadSoughtAndCut) {
  const std::string path = CreatePeople({{"Anna", 30}});
  auto table = Open(path);
  TField* memo = table->FieldByName("Notiz");
  EXPECT_TRUE(memo->IsNull());
  table->Edit();
  {
    auto stream = table->CreateBlobStream(memo, bmReadWrite);
    EXPECT_EQ(stream->Write("Hallo Welt", 10), 10);
    EXPECT_EQ(stream->Seek(0, soEnd), 10);
    EXPECT_EQ(stream->Seek(-4, soEnd), 6);
    char word[4];
    EXPECT_EQ(stream->Read(word, 4), 4);
    EXPECT_EQ(std::string(word, 4), "Welt");
    EXPECT_EQ(stream->Seek(-10, soCurrent), 0);
    EXPECT_EQ(stream->Write("W", 1), 1);
  }
  EXPECT_TRUE(table->Modified());
  table->Post();
  EXPECT_EQ(memo->AsString(), "Wallo Welt");

  // Opening for writing cuts the blob before anything is written.
  table->Edit();
  table->CreateBlobStream(memo, bmWrite);
  EXPECT_EQ(table->CreateBlobStream(memo, bmRead)->Size(), 0);
  memo->SetText("zwei\r\nZeilen");
  table->Post();
  table->Close();
  table->Open();  // new default fields
  EXPECT_EQ(table->FieldByName("Notiz")->AsString(), "zwei\r\nZeilen");
}

TEST_F(TableBlobStreamTest, CancelKeepsTheStoredText) {
  auto table = Open(CreatePeople({{"Anna", 30}}));
  TField* memo = table->FieldByName("Notiz");
  table->Edit();
  memo->SetText("alt");
  table->Post();
  table->Edit();
  memo->SetText("neu und länger");
  EXPECT_EQ(memo->AsString(), "neu und länger");
  table->Cancel();
  EXPECT_EQ(memo->AsString(), "alt");
}

TEST_F(TableBlobStreamTest, MemoOfANewRecordIsHeldForIt) {
  const std::string path = CreatePeople({{"Anna", 30}, {"Bert", 40}});
  auto table = Open(path);
  table->Next();
  table->Edit();
  table->FieldByName("Notiz")->SetText("von Bert");
  table->Post();
  // Inserted in front of Bert: its memo is its own, not Bert's.
  table->Insert();
  table->FieldByName("Name")->SetText("Clara");
  table->FieldByName("Notiz")->SetText("von Clara");
  table->Post();
  table->Append();
  table->FieldByName("Name")->SetText("Dora");
  table->FieldByName("Notiz")->SetText("von Dora");
  table->Post();
  table->Close();
  table->Open();
  EXPECT_EQ(Column(*table, "Name"), (std::vector<std::string>{"Anna", "Bert", "Clara", "Dora"}));
  EXPECT_EQ(Column(*table, "Notiz"), (std::vector<std::string>{"", "von Bert", "von Clara", "von Dora"}));
}

TEST_F(TableBlobStreamTest, WritingIsRefusedOutsideEditingAndOnReadOnlyFields) {
  auto table = Open(CreatePeople({{"Anna", 30}}));
  TField* memo = table->FieldByName("Notiz");
  try {
    table->CreateBlobStream(memo, bmWrite);
    FAIL() << "wrote while browsing";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.what(), std::string(kSNotEditing));
  }
  memo->SetReadOnly(true);
  table->Edit();
  try {
    table->CreateBlobStream(memo, bmReadWrite);
    FAIL() << "wrote a read-only field";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Feld 'Notiz' kann nicht verändert werden");
  }
  EXPECT_EQ(table->CreateBlobStream(memo, bmRead)->Size(), 0);
  EXPECT_THROW(table->CreateBlobStream(table->FieldByName("Name"), bmRead), EDatabaseError);
}

TEST_F(TableBlobStreamTest, BlobsAreRefusedWhileAFilterTestRuns) {
  auto table = Open(CreatePeople({{"Anna", 30}, {"Bert", 40}}));
  table->SetOnFilterRecord(
      [](TDataSet& dataset, bool& accept) { accept = dataset.FieldByName("Notiz")->AsString().empty(); });
  table->SetFiltered(true);
  // The failure is shown, and the event test counts the record as accepted.
  EXPECT_EQ(table->RecordCount(), 2);
  ASSERT_FALSE(errors_.empty());
  EXPECT_EQ(errors_[0], "Unable to access blob fields in filter mode");
}

}  // namespace
}  // namespace vesk
