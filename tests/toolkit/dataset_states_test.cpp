// States, the order of events and the checks around editing.
#include <gtest/gtest.h>

#include "runtime/exceptions.h"
#include "test_support.h"
#include "toolkit/data/data_source.h"
#include "toolkit/data/field.h"
#include "toolkit/data/numeric_fields.h"

namespace vesk {
namespace {

using Log = std::vector<std::string>;

class States : public ::testing::Test {
 protected:
  void SetUp() override { FillNumbered(table, 5); }
  TField* Name() { return table.FieldByName("Name"); }
  Log Take() { return std::exchange(log, {}); }

  TMemoryDataSet table;
  Log log;
};

TEST_F(States, EventsRunInTheirOrder) {
  RecordEvents(table, log);
  table.Open();
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(Take(), (Log{"BeforeOpen", "AfterOpen", "AfterScroll"}));

  table.Next();
  EXPECT_EQ(Take(), (Log{"BeforeScroll", "AfterScroll"}));

  table.Edit();
  EXPECT_EQ(table.State(), dsEdit);
  EXPECT_EQ(Take(), (Log{"BeforeEdit", "AfterEdit"}));
  Name()->SetAsString("Neu");
  table.Post();
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(Take(), (Log{"BeforePost", "AfterPost"}));

  table.Edit();
  table.Cancel();
  EXPECT_EQ(Take(), (Log{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));

  table.Insert();
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(Take(), (Log{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
  table.Cancel();
  EXPECT_EQ(Take(), (Log{"BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"}));

  table.Append();
  EXPECT_EQ(Take(), (Log{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
  table.Delete();  // of a new record: cancels it
  EXPECT_EQ(Take(), (Log{"BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"}));

  table.Delete();
  EXPECT_EQ(Take(), (Log{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
  EXPECT_EQ(table.StoredCount(), 4);

  table.Close();
  EXPECT_EQ(table.State(), dsInactive);
  EXPECT_EQ(Take(), (Log{"BeforeClose", "AfterClose"}));
}

TEST_F(States, CheckBrowseModePostsChangesAndCancelsTheRest) {
  RecordEvents(table, log);
  EXPECT_THROW(table.CheckBrowseMode(), EDatabaseError);
  EXPECT_THROW(table.Edit(), EDatabaseError);
  EXPECT_THROW(table.First(), EDatabaseError);
  table.Open();

  table.Edit();
  Name()->SetAsString("Geändert");
  EXPECT_TRUE(table.Modified());
  Take();
  table.Next();  // leaving the record posts it
  EXPECT_EQ(Take(), (Log{"BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}));
  table.Prior();
  EXPECT_EQ(Name()->AsString(), "Geändert");

  table.Edit();
  EXPECT_FALSE(table.Modified());
  Take();
  table.CheckBrowseMode();
  EXPECT_EQ(Take(), (Log{"BeforeCancel", "AfterCancel"}));
  EXPECT_EQ(table.State(), dsBrowse);

  EXPECT_THROW(table.Post(), EDatabaseError) << "nothing to post in browse state";
  try {
    table.UpdateRecord();
    FAIL();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Datenmenge weder im Editier- noch im Einfügemodus");
  }
}

TEST_F(States, ReadOnlyDatasetRefusesEveryChange) {
  table.SetReadOnly(true);
  RecordEvents(table, log);
  table.Open();
  Take();
  for (auto change : {&TDataSet::Edit, &TDataSet::Insert, &TDataSet::Append, &TDataSet::Delete}) {
    try {
      (table.*change)();
      FAIL() << "changed a read-only dataset";
    } catch (const EDatabaseError& error) {
      EXPECT_STREQ(error.what(), "Eine Datenmenge, die nur zum Lesen ist, kann nicht geändert werden");
    }
    EXPECT_EQ(table.State(), dsBrowse);
  }
  EXPECT_EQ(Take(), Log{});
  EXPECT_EQ(table.StoredCount(), 5);
  EXPECT_THROW(Name()->SetAsString("x"), EDatabaseError);
}

TEST_F(States, RequiredFieldsAreCheckedAtPost) {
  table.Open();
  Name()->SetRequired(true);
  Name()->SetDisplayLabel("Nachname");
  table.Insert();
  table.FieldByName("Nr")->SetAsInteger(6);
  try {
    table.Post();
    FAIL();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Das Feld 'Nachname' muss einen Wert haben");
  }
  EXPECT_EQ(table.State(), dsInsert);
  EXPECT_EQ(table.StoredCount(), 5);
  // BeforePost may still fill it in.
  table.BeforePost = [](TDataSet& dataset) { dataset.FieldByName("Name")->SetAsString("Meier"); };
  table.Post();
  EXPECT_EQ(table.StoredCount(), 6);
  EXPECT_EQ(Name()->AsString(), "Meier");
}

TEST_F(States, RangesAreCheckedWhenAValueIsSet) {
  table.Open();
  auto* nr = static_cast<TIntegerField*>(table.FieldByName("Nr"));
  nr->SetMinValue(1);
  nr->SetMaxValue(10);
  table.Edit();
  try {
    nr->SetAsInteger(11);
    FAIL();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "11 ist kein gültiger Wert für das Feld 'Nr'. Erlaubt sind Werte von 1 bis 10");
  }
  EXPECT_THROW(nr->SetAsString("0"), EDatabaseError);
  EXPECT_THROW(nr->SetAsFloat(10.6), EDatabaseError);
  EXPECT_EQ(nr->AsInteger(), 1);
  EXPECT_FALSE(table.Modified());
  nr->SetAsInteger(10);
  EXPECT_EQ(nr->AsInteger(), 10);
  // Without a range only the 32-bit limits hold.
  nr->SetMaxValue(0);
  nr->SetMinValue(0);
  EXPECT_THROW(nr->SetAsFloat(3e9), EDatabaseError);
  nr->SetAsInteger(-5);
  EXPECT_EQ(nr->AsInteger(), -5);
}

TEST_F(States, OldValueShowsTheStoredRecordDuringAnEdit) {
  table.Open();
  table.Next();
  table.Edit();
  Name()->SetAsString("Neu");
  EXPECT_EQ(Name()->OldValue(), Variant("Name2"));
  EXPECT_EQ(Name()->Value(), Variant("Neu"));
  EXPECT_EQ(Name()->NewValue(), Variant("Neu"));
  EXPECT_EQ(table.State(), dsEdit);
  EXPECT_TRUE(table.Modified()) << "reading the old value keeps the edit modified";
  table.Next();
  table.Prior();
  EXPECT_EQ(Name()->AsString(), "Neu");
  EXPECT_EQ(Name()->OldValue(), Variant("Neu"));
}

TEST_F(States, FailedOperationsLeaveTheStateAsItWas) {
  table.Open();
  table.SetFailingPosts(1);
  table.Insert();
  table.FieldByName("Nr")->SetAsInteger(6);
  EXPECT_THROW(table.Post(), EDatabaseError);
  EXPECT_EQ(table.State(), dsInsert);

  // The error event may ask to try again.
  int errors = 0;
  table.OnPostError = [&errors](TDataSet&, const std::exception& error, TDataAction& action) {
    EXPECT_STREQ(error.what(), "Der Testspeicher ist voll");
    action = ++errors < 3 ? daRetry : daFail;
  };
  table.SetFailingPosts(2);
  table.Post();
  EXPECT_EQ(errors, 2);
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(table.StoredCount(), 6);

  // A failing OnNewRecord leaves no new record behind; the dataset stands
  // where the record was to go, and the scroll is completed.
  RecordEvents(table, log);
  table.OnNewRecord = [](TDataSet&) { throw EDatabaseError("kein Platz"); };
  EXPECT_THROW(table.Append(), EDatabaseError);
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(table.StoredCount(), 6);
  EXPECT_EQ(table.FieldByName("Nr")->AsInteger(), 5);
  EXPECT_EQ(Take(), (Log{"BeforeInsert", "BeforeScroll", "AfterScroll"}));

  // A validation that refuses keeps the old value.
  table.Edit();
  Name()->OnValidate = [](TField& field) {
    if (field.AsString() == "verboten") throw EDatabaseError("nicht erlaubt");
  };
  EXPECT_THROW(Name()->SetAsString("verboten"), EDatabaseError);
  EXPECT_NE(Name()->AsString(), "verboten");
  Name()->SetAsString("erlaubt");
  EXPECT_EQ(Name()->AsString(), "erlaubt");

  table.SetFailOpen(true);
  table.Close();
  EXPECT_THROW(table.Open(), EDatabaseError);
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.LiveBuffers(), 0);
}

TEST_F(States, ReadOnlyFieldAndChangeEvents) {
  table.Open();
  Name()->SetReadOnly(true);
  table.Edit();
  try {
    Name()->SetAsString("x");
    FAIL();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Feld 'Name' kann nicht verändert werden");
  }
  EXPECT_FALSE(table.Modified());
  Name()->SetReadOnly(false);
  std::vector<std::string> changes;
  Name()->OnChange = [&changes](TField& field) { changes.push_back(field.AsString()); };
  Name()->SetAsString("eins");
  EXPECT_EQ(changes, std::vector<std::string>{"eins"});
  EXPECT_TRUE(table.Modified());
}

}  // namespace
}  // namespace vesk
