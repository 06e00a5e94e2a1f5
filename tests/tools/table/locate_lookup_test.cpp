// Locate and Lookup through the engine's search.
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/field.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"

namespace vesk {
namespace {

class TableLocateLookupTest : public TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    path_ = CreatePeople({{"Anna", 30}, {"Bert", 40}, {"Berta", 45}, {"Carl", 40}, {"Müller", 20}});
  }
  std::string path_;
};

TEST_F(TableLocateLookupTest, LocateFindsByKeysAndOptions) {
  auto table = Open(path_);
  TField* name = table->FieldByName("Name");
  int scrolls = 0;
  table->AfterScroll = [&](TDataSet&) { ++scrolls; };
  EXPECT_TRUE(table->Locate("Name", Variant("Carl"), 0));
  EXPECT_EQ(name->AsString(), "Carl");
  EXPECT_EQ(table->RecNo(), 4);
  EXPECT_EQ(scrolls, 1);

  EXPECT_FALSE(table->Locate("Name", Variant("carl"), 0));
  EXPECT_EQ(name->AsString(), "Carl");
  EXPECT_TRUE(table->Locate("Name", Variant("MÜLLER"), loCaseInsensitive));
  EXPECT_EQ(name->AsString(), "Müller");

  // Partial key: the first characters of the last text key.
  EXPECT_TRUE(table->Locate("Name", Variant("Be"), loPartialKey));
  EXPECT_EQ(name->AsString(), "Bert");
  EXPECT_TRUE(table->Locate("Name", Variant("Mü"), loPartialKey));
  EXPECT_EQ(name->AsString(), "Müller");
  EXPECT_FALSE(table->Locate("Name", Variant("Be"), 0));

  // Several keys take an array; the second key tells the records apart.
  EXPECT_TRUE(table->Locate("Alter;Name", Variant::FromArray({Variant(40), Variant("Carl")}), 0));
  EXPECT_EQ(name->AsString(), "Carl");
  EXPECT_TRUE(table->Locate("Alter;Name", Variant::FromArray({Variant(40), Variant("Be")}), loPartialKey));
  EXPECT_EQ(name->AsString(), "Bert");

  EXPECT_THROW(table->Locate("Unbekannt", Variant(1), 0), EDatabaseError);
}

TEST_F(TableLocateLookupTest, LocateWithinAFilteredDataset) {
  auto table = Open(path_);
  table->SetFilterText("Alter < 45");
  table->SetFiltered(true);
  EXPECT_FALSE(table->Locate("Name", Variant("Berta"), 0));
  EXPECT_TRUE(table->Locate("Name", Variant("Bert"), 0));
}

TEST_F(TableLocateLookupTest, LookupLeavesTheCurrentRecordAlone) {
  auto table = Open(path_);
  table->Next();
  EXPECT_EQ(table->Lookup("Name", Variant("Carl"), "Alter").AsInteger(), 40);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");
  const Variant both = table->Lookup("Alter", Variant(45), "Name;Alter");
  ASSERT_EQ(both.Type(), VarType::Array);
  EXPECT_EQ(both.AsArray()[0].AsString(), "Berta");
  EXPECT_EQ(both.AsArray()[1].AsInteger(), 45);
  EXPECT_TRUE(table->Lookup("Name", Variant("Zoe"), "Alter").IsNull());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "Bert");
  EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(TableLocateLookupTest, CalculatedFieldsAreNoKeysButLookupComputesThem) {
  TRadiRidir table;
  table.SetTableName(path_);
  auto* name = AddField<TStringField>(table, "Name");
  auto* age = AddField<TIntegerField>(table, "Alter");
  auto* next = AddField<TIntegerField>(table, "Naechstes", fkCalculated);
  table.OnCalcFields = [&](TDataSet&) { next->SetAsInteger(age->AsInteger() + 1); };
  table.Open();
  try {
    table.Locate("Naechstes", Variant(31), 0);
    FAIL() << "located by a calculated field";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Naechstes is not a valid locate field.");
  }
  EXPECT_EQ(table.State(), dsBrowse);
  EXPECT_EQ(table.Lookup("Name", Variant("Carl"), "Naechstes").AsInteger(), 41);
  EXPECT_EQ(name->AsString(), "Anna");
  EXPECT_EQ(next->AsInteger(), 31);
}

}  // namespace
}  // namespace vesk
