// Field definitions, constraints, default values and field data of
// TRadiRidir.
#include <cstring>

#include "platform/regional_settings.h"
#include "runtime/datetime.h"
#include "tests/tools/table/table_fixture.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/field.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"
#include "tools/table/MTcomm.h"

namespace vesk {
namespace {

using TableFieldsTest = TableTest;

// The engine's stored record of the dataset's current record.
std::vector<uint8_t> StoredRecord(const TRadiRidir& table) {
  std::vector<uint8_t> record(static_cast<size_t>(rr_record_size(TRadiRidirEngine::Handle(table))));
  EXPECT_TRUE(rr_get_record(TRadiRidirEngine::Handle(table), record.data()));
  return record;
}

TEST_F(TableFieldsTest, EveryLetterBecomesItsFieldDefinition) {
  const std::string path = CreateTable("all.mti", {{"Text", 'S', 50},
                                                   {"Zahl", 'I'},
                                                   {"Nummer", 'A'},
                                                   {"Ja", 'B'},
                                                   {"Wert", 'F'},
                                                   {"Real", 'R'},
                                                   {"Geld", 'C'},
                                                   {"Datum", 'D'},
                                                   {"Memo", 'M'},
                                                   {"Format", 'E'},
                                                   {"Bild", 'G'},
                                                   {"Daten", 'L'}});
  auto table = Open(path);
  const std::vector<TFieldType> expected = {ftString,   ftInteger,  ftAutoInc, ftBoolean, ftFloat,   ftFloat,
                                            ftCurrency, ftDateTime, ftMemo,    ftFmtMemo, ftGraphic, ftBlob};
  ASSERT_EQ(table->FieldDefs().Count(), static_cast<int>(expected.size()));
  for (int i = 0; i < table->FieldDefs().Count(); ++i) {
    EXPECT_EQ(table->FieldDefs()[i].DataType(), expected[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(table->FieldDefs()[i].FieldNo(), i + 1);
  }
  int32_t offset = 0, size = 0;
  uint8_t letter = 0;
  ASSERT_TRUE(rr_field_info(TRadiRidirEngine::Handle(*table), 0, &offset, &size, &letter));
  EXPECT_EQ(size, 201) << "room for 50 characters of four bytes";
  EXPECT_EQ(table->FieldDefs()[0].Size(), 50);
  EXPECT_EQ(table->FieldByName("Text")->Size(), 50);
  EXPECT_EQ(table->FieldDefs()[1].Size(), 0);
  EXPECT_TRUE(table->FieldByName("Nummer")->ReadOnly());
  EXPECT_FALSE(table->FieldByName("Zahl")->ReadOnly());

  EXPECT_EQ(FieldTypeOfLetter('X'), ftUnknown);
  EXPECT_EQ(kMTFieldTypes.size(), 13u);
  EXPECT_EQ(kMTFieldTypes[6].Size, 6);  // Real: the engine's 8 bytes govern
}

TEST_F(TableFieldsTest, ConstraintsComeFromTheEngineByPosition) {
  const std::string path = CreateTable("c.mti", {{"Name", 'S', 10, "1"},
                                                 {"Alter", 'I', 0, "", nullptr, "0", "150"},
                                                 {"Preis", 'C', 0, nullptr, nullptr, "0,5", "99,5"},
                                                 {"Menge", 'I', 0, nullptr, nullptr, "viele", "5"}});
  auto table = Open(path);
  EXPECT_TRUE(table->FieldByName("Name")->Required());
  auto* age = static_cast<TIntegerField*>(table->FieldByName("Alter"));
  EXPECT_FALSE(age->Required());
  EXPECT_EQ(age->MinValue(), 0);
  EXPECT_EQ(age->MaxValue(), 150);
  auto* price = static_cast<TFloatField*>(table->FieldByName("Preis"));
  EXPECT_DOUBLE_EQ(price->MinValue(), 0.5);
  EXPECT_DOUBLE_EQ(price->MaxValue(), 99.5);
  // A minimum that is no number leaves the field's maximum out as well.
  auto* amount = static_cast<TIntegerField*>(table->FieldByName("Menge"));
  EXPECT_EQ(amount->MinValue(), 0);
  EXPECT_EQ(amount->MaxValue(), 0);

  table->Append();
  age->SetAsInteger(200 - 50);
  EXPECT_THROW(age->SetAsInteger(151), EDatabaseError);
  EXPECT_THROW(table->Post(), EDatabaseError);  // Name is required
  table->FieldByName("Name")->SetText("x");
  table->Post();
  EXPECT_EQ(table->RecordCount(), 1);
}

TEST_F(TableFieldsTest, DefaultsOfEveryLetterFillNewRecords) {
  const std::string path = CreateTable("d.mti", {{"Nummer", 'A', 0, nullptr, "7"},
                                                 {"Zahl", 'I', 0, nullptr, "-42"},
                                                 {"Ja", 'B', 0, nullptr, "true"},
                                                 {"Nein", 'B', 0, nullptr, "FALSE"},
                                                 {"Geld", 'C', 0, nullptr, "$12,5"},
                                                 {"Datum", 'D', 0, nullptr, "24.12.2026 18:30:00"},
                                                 {"Wert", 'F', 0, nullptr, "2,25"},
                                                 {"Real", 'R', 0, nullptr, "-1,5E3"},
                                                 {"Text", 'S', 5, nullptr, "abcdefgh"},
                                                 {"Leer", 'S', 5}});
  auto table = Open(path);
  table->Append();
  EXPECT_EQ(table->FieldByName("Nummer")->AsInteger(), 7);
  EXPECT_EQ(table->FieldByName("Zahl")->AsInteger(), -42);
  EXPECT_TRUE(table->FieldByName("Ja")->AsBoolean());
  EXPECT_FALSE(table->FieldByName("Nein")->AsBoolean());
  EXPECT_FALSE(table->FieldByName("Nein")->IsNull());
  EXPECT_DOUBLE_EQ(table->FieldByName("Geld")->AsFloat(), 12.5);
  EXPECT_DOUBLE_EQ(table->FieldByName("Datum")->AsDateTime(), EncodeDate(2026, 12, 24) + EncodeTime(18, 30, 0, 0));
  EXPECT_DOUBLE_EQ(table->FieldByName("Wert")->AsFloat(), 2.25);
  EXPECT_DOUBLE_EQ(table->FieldByName("Real")->AsFloat(), -1500.0);
  EXPECT_EQ(table->FieldByName("Text")->AsString(), "abcde");
  EXPECT_TRUE(table->FieldByName("Leer")->IsNull());
  table->Post();
  table->Append();  // every new record again
  EXPECT_EQ(table->FieldByName("Zahl")->AsInteger(), -42);
  table->Cancel();
}

TEST_F(TableFieldsTest, DefaultsThatDoNotConvertRaiseTheirErrors) {
  struct Case {
    FieldSpec field;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"Ja", 'B', 0, nullptr, "yes"}, "yes is not valid data for a boolean field."},
      {{"Memo", 'M', 0, nullptr, "Text"}, "Unrecognized field type."},
      {{"Zahl", 'I', 0, nullptr, "zwölf"}, "'zwölf' ist kein gültiger Integerwert"},
      {{"Wert", 'F', 0, nullptr, "1.5"}, "'1.5' ist kein gültiger Gleitkommawert"},
  };
  int n = 0;
  for (const Case& c : cases) {
    auto table = Open(CreateTable("e" + std::to_string(n++) + ".mti", {c.field}));
    try {
      table->Append();
      FAIL() << c.message;
    } catch (const Exception& error) {
      EXPECT_EQ(error.what(), c.message);
      EXPECT_EQ(dynamic_cast<const EMTBError*>(&error) != nullptr, c.field.letter == 'B' || c.field.letter == 'M');
    }
    EXPECT_EQ(table->State(), dsBrowse);
  }
}

TEST_F(TableFieldsTest, TextDefaultIsCutToWholeCharacters) {
  // Two characters hold "aü" (three bytes) but not the "x" after it.
  auto table =
      Open(CreateTable("m.mti", {{"Kurz", 'S', 2, nullptr, "a\xC3\xBCx"}, {"Lang", 'S', 3, nullptr, "a\xC3\xBC"}}));
  table->Append();
  EXPECT_EQ(table->FieldByName("Kurz")->AsString(), "a\xC3\xBC");
  EXPECT_EQ(table->FieldByName("Lang")->AsString(), "a\xC3\xBC");
  table->Cancel();

  // Field sizes count UTF-8 characters, as the engine does, also under a
  // locale whose code page is single-byte.
  SetMultiByteCodePageForTesting(false);
  table->Append();
  EXPECT_EQ(table->FieldByName("Kurz")->AsString(), "a\xC3\xBC");
  table->Cancel();
}

TEST_F(TableFieldsTest, EmptyTextIsStoredAsNoValue) {
  const std::string path = CreatePeople({{"Anna", 30}});
  auto table = Open(path);
  TField* name = table->FieldByName("Name");
  table->Edit();
  name->SetText("");
  EXPECT_TRUE(name->IsNull());
  table->Post();
  EXPECT_EQ(StoredRecord(*table)[0], 0);
  EXPECT_TRUE(name->Value().IsNull());
  table->Edit();
  name->SetValue(Variant::Null());
  table->FieldByName("Alter")->Clear();
  table->Post();
  EXPECT_EQ(StoredRecord(*table)[1], 0);
}

TEST_F(TableFieldsTest, DateTimesTravelAsTimeStampsAndAreStoredAsDays) {
  auto table = Open(CreateTable("t.mti", {{"Datum", 'D'}}));
  const TDateTime moment = EncodeDate(2026, 3, 1) + EncodeTime(7, 45, 30, 250);
  table->Append();
  table->FieldByName("Datum")->SetAsDateTime(moment);
  table->Post();
  double stored = 0;
  const std::vector<uint8_t> record = StoredRecord(*table);
  std::memcpy(&stored, record.data() + FieldOffset(*table, 0), 8);
  EXPECT_NEAR(stored, moment, 1e-9);
  double msecs = 0;
  ASSERT_TRUE(table->FieldByName("Datum")->GetData(&msecs));
  EXPECT_DOUBLE_EQ(msecs, TimeStampToMSecs(DateTimeToTimeStamp(moment)));
  EXPECT_EQ(table->FieldByName("Datum")->DisplayText(), "01.03.2026 07:45:30");
}

TEST_F(TableFieldsTest, PersistentTextFieldShorterThanItsColumnStaysWithinItsSize) {
  const std::string path = CreatePeople({{"Bartholomäus", 30}});
  TRadiRidir table;
  table.SetTableName(path);
  auto* name = AddField<TStringField>(table, "Name");
  name->SetSize(4);
  table.Open();
  EXPECT_EQ(name->AsString(), "Bart");
  table.Edit();
  name->SetText("Christiane");
  table.Post();
  const std::vector<uint8_t> record = StoredRecord(table);
  EXPECT_STREQ(reinterpret_cast<const char*>(record.data() + FieldOffset(table, 0)), "Chri");
}

TEST_F(TableFieldsTest, CalculatedFieldsLiveInTheirOwnArea) {
  const std::string path = CreatePeople({{"Anna", 30}});
  TRadiRidir table;
  table.SetTableName(path);
  auto* name = AddField<TStringField>(table, "Name");
  auto* label = AddField<TStringField>(table, "Anzeige");
  label->SetSize(30);
  label->SetFieldKind(fkCalculated);
  table.OnCalcFields = [&](TDataSet&) { label->SetText("<" + name->AsString() + ">"); };
  table.Open();
  EXPECT_EQ(label->AsString(), "<Anna>");
  table.Edit();
  name->SetText("Berta");
  EXPECT_EQ(label->AsString(), "<Berta>");
  table.Post();
  EXPECT_EQ(label->AsString(), "<Berta>");
  EXPECT_EQ(StoredRecord(table)[0], 1);
}

}  // namespace
}  // namespace vesk
