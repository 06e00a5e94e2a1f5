// Field objects: conversions, display texts, name lookup, default and
// persistent fields, calculated and lookup fields.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "memory_dataset.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/boolean_field.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"

namespace vesk {
namespace {

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "(no error)";
}

class Fields : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(FormatSettings{});
    table.AddColumn("Name", ftString, 10);
    table.AddColumn("Anzahl", ftInteger);
    table.AddColumn("Aktiv", ftBoolean);
    table.AddColumn("Preis", ftFloat);
    table.AddColumn("Betrag", ftCurrency);
    table.AddColumn("Datum", ftDateTime);
    table.AddColumn("Text", ftMemo);
  }
  TField* F(const char* name) { return table.FieldByName(name); }

  TMemoryDataSet table;
};

TEST_F(Fields, DefaultFieldsComeFromTheDefinitionsAndGoAtClose) {
  table.Open();
  ASSERT_EQ(table.FieldCount(), 7);
  EXPECT_NE(dynamic_cast<TStringField*>(table.Fields(0)), nullptr);
  EXPECT_NE(dynamic_cast<TIntegerField*>(table.Fields(1)), nullptr);
  EXPECT_NE(dynamic_cast<TBooleanField*>(table.Fields(2)), nullptr);
  EXPECT_NE(dynamic_cast<TFloatField*>(table.Fields(3)), nullptr);
  EXPECT_NE(dynamic_cast<TCurrencyField*>(table.Fields(4)), nullptr);
  EXPECT_NE(dynamic_cast<TDateTimeField*>(table.Fields(5)), nullptr);
  EXPECT_NE(dynamic_cast<TMemoField*>(table.Fields(6)), nullptr);
  EXPECT_EQ(F("Name")->Size(), 10);
  EXPECT_EQ(F("Name")->DataSize(), 41);
  EXPECT_EQ(F("Aktiv")->DataSize(), 2);
  EXPECT_EQ(F("Datum")->DataSize(), 8);
  EXPECT_EQ(F("Text")->FieldNo(), 7);
  EXPECT_EQ(F("Name")->DataSet(), &table);
  table.Close();
  EXPECT_EQ(table.FieldCount(), 0);
}

TEST_F(Fields, PersistentFieldsStayAndMustMatchTheColumns) {
  auto* name = new TStringField(&table);
  name->SetFieldName("Name");
  name->SetSize(10);
  table.Open();
  EXPECT_EQ(table.FieldCount(), 1);
  EXPECT_EQ(F("NAME"), name);
  EXPECT_EQ(table.FindField("Anzahl"), nullptr);
  EXPECT_THROW(name->SetFieldName("Anders"), EDatabaseError) << "renamed while open";
  EXPECT_THROW(new TIntegerField(&table), EDatabaseError) << "added while open";
  table.Close();
  EXPECT_EQ(table.FieldCount(), 1);
  EXPECT_EQ(name->FieldNo(), 0);

  auto* wrong = new TIntegerField(&table);
  wrong->SetFieldName("Aktiv");
  EXPECT_EQ(Message([&] { table.Open(); }), "Das Feld 'Aktiv' hat nicht den erwarteten Typ Boolean");
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.LiveBuffers(), 0);
  wrong->SetFieldName("Fehlt");
  EXPECT_EQ(Message([&] { table.Open(); }), "Das Feld 'Fehlt' wurde nicht gefunden");
  delete wrong;
  EXPECT_EQ(table.FieldCount(), 1);
  delete new TStringField(&table);  // unnamed fields do not clash
  EXPECT_EQ(table.FieldCount(), 1);
}

TEST_F(Fields, NamesCompareWithoutCaseUmlautsIncluded) {
  TMemoryDataSet other;
  other.AddColumn("Größe", ftInteger);
  other.AddColumn("Änderung", ftString, 5);
  other.Open();
  EXPECT_EQ(other.FieldByName("GRÖßE"), other.Fields(0));
  EXPECT_EQ(other.FieldByName("änderung"), other.Fields(1));
  other.AddColumn("Name_1", ftString, 5);
  EXPECT_EQ(other.FindField("nAME_1"), nullptr);  // not a field until the next open
  other.Close();
  other.Open();
  EXPECT_NE(other.FindField("nAME_1"), nullptr);
  EXPECT_EQ(other.FindField("Name_"), nullptr);
  EXPECT_EQ(other.FindField("Name_1 "), nullptr);
  EXPECT_EQ(Message([&] { other.FieldByName("Grosse"); }), "Das Feld 'Grosse' wurde nicht gefunden");
  other.SetName("MTbTest");
  EXPECT_EQ(Message([&] { other.FieldByName("Fehlt"); }), "MTbTest: Das Feld 'Fehlt' wurde nicht gefunden");
  EXPECT_EQ(Message([&] { other.GetFieldList("Größe; Fehlt"); }), "MTbTest: Das Feld 'Fehlt' wurde nicht gefunden");
  EXPECT_EQ(other.GetFieldList(" größe ;ÄNDERUNG").size(), 2u);
}

TEST_F(Fields, TextAndNumberConversions) {
  table.Open();
  table.Insert();
  F("Name")->SetAsString("abcdefghijklmno");
  EXPECT_EQ(F("Name")->AsString(), "abcdefghij");
  // Size counts characters in any script, and a cut keeps whole characters.
  F("Name")->SetAsString("äöüäöüäöüä");
  EXPECT_EQ(F("Name")->AsString(), "äöüäöüäöüä");
  F("Name")->SetAsString("€€€€€€€€€€𝄞x");
  EXPECT_EQ(F("Name")->AsString(), "€€€€€€€€€€");
  F("Name")->SetAsString("𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞");
  EXPECT_EQ(F("Name")->AsString(), "𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞𝄞");
  F("Name")->SetAsString("");
  EXPECT_TRUE(F("Name")->IsNull());
  EXPECT_TRUE(F("Name")->Value().IsNull());
  F("Name")->SetAsInteger(42);
  EXPECT_EQ(F("Name")->AsInteger(), 42);

  TField* count = F("Anzahl");
  EXPECT_TRUE(count->IsNull());
  EXPECT_EQ(count->AsInteger(), 0);
  EXPECT_EQ(count->AsString(), "");
  count->SetAsString(" 17 ");
  EXPECT_EQ(count->Value(), Variant(17));
  EXPECT_THROW(count->SetAsString("x"), EConvertError);
  count->SetAsFloat(2.5);
  EXPECT_EQ(count->AsInteger(), 3);
  count->SetValue(Variant("12"));
  EXPECT_EQ(count->AsInteger(), 12);
  count->SetValue(Variant::Null());
  EXPECT_TRUE(count->IsNull());

  TField* price = F("Preis");
  price->SetAsString("1234,5");
  EXPECT_DOUBLE_EQ(price->AsFloat(), 1234.5);
  EXPECT_EQ(price->Text(), "1234,5");
  static_cast<TFloatField*>(price)->SetDisplayFormat("#,##0.00");
  EXPECT_EQ(price->DisplayText(), "1.234,50");
  EXPECT_EQ(price->Text(), "1234,5") << "the display format is not the edit text";
  EXPECT_THROW(price->SetAsFloat(std::nan("")), EConvertError);
  EXPECT_EQ(price->AsInteger(), 1235);

  TField* amount = F("Betrag");
  amount->SetAsFloat(1234.5);
  EXPECT_EQ(amount->DisplayText(), "1.234,50 €");
  EXPECT_EQ(amount->Text(), "1234,50");
  EXPECT_EQ(amount->Value().Type(), VarType::Currency);

  EXPECT_EQ(Message([&] { F("Aktiv")->AsDateTime(); }), "Das Feld 'Aktiv' kann nicht als DateTime gelesen werden");
  EXPECT_EQ(Message([&] { F("Anzahl")->SetAsDateTime(1.0); }),
            "Dem Feld 'Anzahl' kann kein Wert vom Typ DateTime zugewiesen werden");
}

TEST_F(Fields, BooleanTexts) {
  table.Open();
  table.Insert();
  auto* active = static_cast<TBooleanField*>(F("Aktiv"));
  active->SetAsString("true");
  EXPECT_TRUE(active->AsBoolean());
  int16_t stored = 0;
  ASSERT_TRUE(active->GetData(&stored));
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(active->AsString(), "True");
  active->SetDisplayValues("Ja;Nein");
  EXPECT_EQ(active->DisplayText(), "Ja");
  active->SetAsString("NEIN");
  EXPECT_EQ(active->Value(), Variant(false));
  EXPECT_EQ(Message([&] { active->SetAsString("vielleicht"); }), "'vielleicht' ist kein gültiger Wahrheitswert");
  active->SetAsString(" ");
  EXPECT_TRUE(active->IsNull());
}

TEST_F(Fields, DateTimesAreMillisecondStampsWithDisplayFormats) {
  table.Open();
  table.Insert();
  auto* date = static_cast<TDateTimeField*>(F("Datum"));
  const TDateTime when = EncodeDate(2026, 3, 3) + EncodeTime(14, 5, 0, 0);
  date->SetAsDateTime(when);
  double msecs = 0;
  ASSERT_TRUE(date->GetData(&msecs));
  EXPECT_DOUBLE_EQ(msecs, 739678.0 * 86400000.0 + (14 * 60 + 5) * 60000.0);
  EXPECT_NEAR(date->AsDateTime(), when, 1e-9);
  EXPECT_EQ(date->AsString(), "03.03.2026 14:05:00");
  date->SetDisplayFormat("dd.mm.yyyy");
  EXPECT_EQ(date->DisplayText(), "03.03.2026");
  EXPECT_EQ(date->Text(), "03.03.2026");
  date->SetDisplayFormat("hh:mm");
  EXPECT_EQ(date->DisplayText(), "14:05");
  EXPECT_EQ(date->Value().Type(), VarType::Date);

  date->SetAsString("24.12.2000");
  EXPECT_EQ(date->AsDateTime(), EncodeDate(2000, 12, 24));
  date->SetAsString("9:30");
  EXPECT_NEAR(date->AsDateTime(), EncodeTime(9, 30, 0, 0), 1e-9);
  EXPECT_THROW(date->SetAsString("32.13.2000"), EConvertError);
  EXPECT_THROW(date->SetAsDateTime(1e10), EConvertError) << "beyond the year 9999";
  EXPECT_NEAR(date->AsDateTime(), EncodeTime(9, 30, 0, 0), 1e-9);
  date->SetAsString("");
  EXPECT_TRUE(date->IsNull());
  EXPECT_EQ(date->DisplayText(), "");
}

TEST_F(Fields, MemosGoThroughBlobStreams) {
  table.AddRow({Variant("Eins"), Variant(1), Variant(true), Variant(1.0), Variant(1.0), Variant::Null(),
                Variant("gespeicherter Text")});
  table.Open();
  TField* text = F("Text");
  EXPECT_EQ(text->AsString(), "gespeicherter Text");
  EXPECT_EQ(text->DisplayText(), "gespeicherter Text");
  EXPECT_THROW(text->SetAsString("x"), EDatabaseError) << "not editing";
  table.Edit();
  text->SetAsString("neuer Text");
  EXPECT_TRUE(static_cast<TBlobField*>(text)->Modified());
  EXPECT_TRUE(table.Modified());
  table.Post();
  EXPECT_FALSE(static_cast<TBlobField*>(text)->Modified());
  EXPECT_EQ(text->AsString(), "neuer Text");
  table.Edit();
  text->Clear();
  EXPECT_TRUE(text->IsNull());
  table.Cancel();
  EXPECT_EQ(text->AsString(), "neuer Text");
  EXPECT_EQ(static_cast<TBlobField*>(text)->BlobSize(), 10);
}

TEST_F(Fields, CalculatedAndLookupFields) {
  TMemoryDataSet codes;
  codes.AddColumn("Code", ftInteger);
  codes.AddColumn("Bezeichnung", ftString, 20);
  codes.AddRow({Variant(1), Variant("eins")});
  codes.AddRow({Variant(2), Variant("zwei")});
  codes.Open();

  TMemoryDataSet items;
  items.AddColumn("Nr", ftInteger);
  items.AddColumn("Code", ftInteger);
  items.AddRow({Variant(10), Variant(2)});
  items.AddRow({Variant(20), Variant(1)});
  for (const char* name : {"Nr", "Code"}) (new TIntegerField(&items))->SetFieldName(name);
  auto* twice = new TIntegerField(&items);
  twice->SetFieldName("Doppelt");
  twice->SetFieldKind(fkCalculated);
  auto* label = new TStringField(&items);
  label->SetFieldName("Text");
  label->SetFieldKind(fkLookup);
  label->SetLookupDataSet(&codes);
  label->SetKeyFields("Code");
  label->SetLookupKeyFields("Code");
  label->SetLookupResultField("Bezeichnung");
  int calculations = 0;
  items.OnCalcFields = [&](TDataSet& dataset) {
    ++calculations;
    EXPECT_EQ(dataset.State(), dsCalcFields);
    dataset.FieldByName("Doppelt")->SetAsInteger(dataset.FieldByName("Nr")->AsInteger() * 2);
  };
  items.Open();
  EXPECT_EQ(twice->FieldNo(), -1);
  EXPECT_EQ(twice->Offset(), 0);
  EXPECT_EQ(label->Offset(), 5);
  EXPECT_EQ(items.CalcFieldsSize(), (1 + 4) + (1 + 4 * 20 + 1));  // 20 characters of up to 4 bytes
  EXPECT_EQ(twice->AsInteger(), 20);
  EXPECT_EQ(label->AsString(), "zwei");
  items.Next();
  EXPECT_EQ(twice->AsInteger(), 40);
  EXPECT_EQ(label->AsString(), "eins");

  // Changing a data field while editing recalculates.
  items.Edit();
  const int before = calculations;
  items.FieldByName("Nr")->SetAsInteger(7);
  EXPECT_EQ(twice->AsInteger(), 14);
  EXPECT_GT(calculations, before);
  items.Cancel();
  EXPECT_EQ(twice->AsInteger(), 40);
  EXPECT_TRUE(twice->OldValue().IsNull()) << "calculated fields have no stored value";
}

TEST(FieldDefs, NumberTheDefinitionsAndRefuseUnknownTypes) {
  TFieldDefs defs;
  defs.Add("A", ftString, 50);
  defs.Add("B", ftUnknown);
  EXPECT_EQ(defs[1].FieldNo(), 2);
  EXPECT_EQ(defs.IndexOf("b"), 1);
  EXPECT_EQ(defs.Find("c"), nullptr);
  TComponent owner;
  TField* field = defs[0].CreateField(&owner);
  EXPECT_EQ(field->Size(), 50);
  EXPECT_EQ(field->Owner(), &owner);
  EXPECT_EQ(Message([&] { defs[1].CreateField(&owner); }), "Das Feld 'B' hat einen unbekannten Typ");
  EXPECT_EQ(owner.Components().size(), 1u);
  EXPECT_EQ(Message([&] { field->AsString(); }), "Das Feld 'A' gehört zu keiner Datenmenge");
}

}  // namespace
}  // namespace vesk
