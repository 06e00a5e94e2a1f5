#include "tests/tools/filter/address_rows.h"

#include <cstdint>
#include <string>

#include "runtime/datetime.h"
#include "toolkit/data/blob_field.h"
#include "toolkit/data/boolean_field.h"
#include "toolkit/data/date_time_field.h"
#include "toolkit/data/numeric_fields.h"
#include "toolkit/data/string_field.h"

namespace vesk {
namespace {

Variant Day(int year, int month, int day, int hour = 0) {
  return Variant::FromDate(EncodeDate(year, month, day) + EncodeTime(hour, 0, 0, 0));
}

template <typename FieldClass, typename... Extra>
FieldClass* AddField(TMemoryDataSet& dataset, const char* name, Extra... extra) {
  auto* field = new FieldClass(&dataset, extra...);
  field->SetFieldName(name);
  return field;
}

void AddText(TMemoryDataSet& dataset, const char* name, int size) {
  dataset.AddColumn(name, ftString, size);
  AddField<TStringField>(dataset, name)->SetSize(size);
}

}  // namespace

void FillAddresses(TMemoryDataSet& dataset) {
  AddText(dataset, "Name", 30);
  AddText(dataset, "Vorname", 20);
  AddText(dataset, "Vor name", 20);
  AddText(dataset, "Straße", 30);
  dataset.AddColumn("Nr", ftInteger);
  AddField<TIntegerField>(dataset, "Nr");
  dataset.AddColumn("Aktiv", ftBoolean);
  AddField<TBooleanField>(dataset, "Aktiv");
  dataset.AddColumn("Betrag", ftFloat);
  AddField<TFloatField>(dataset, "Betrag");
  dataset.AddColumn("Preis", ftCurrency);
  AddField<TCurrencyField>(dataset, "Preis");
  dataset.AddColumn("Datum", ftDate);
  AddField<TDateTimeField>(dataset, "Datum", ftDate);
  dataset.AddColumn("Notiz", ftMemo);
  AddField<TMemoField>(dataset, "Notiz");
  AddField<TIntegerField>(dataset, "Summe")->SetFieldKind(fkCalculated);
  dataset.OnCalcFields = [](TDataSet& data) {
    TField* nr = data.FieldByName("Nr");
    if (nr->IsNull()) return;
    const int64_t sum = int64_t{nr->AsInteger()} * 2;  // empty when it leaves the integers
    if (sum >= INT32_MIN && sum <= INT32_MAX) data.FieldByName("Summe")->SetAsInteger(static_cast<int32_t>(sum));
  };

  const Variant null = Variant::Null();
  using V = Variant;
  dataset.AddRow({V("Meier"), V("Hans"), V("Hans Peter"), V("Hauptstraße"), V(1), V(true), V(1.5), V(Currency{102500}),
                  Day(2000, 12, 24), V("erste Notiz")});
  dataset.AddRow(
      {V("MEIER"), V("Meier"), null, null, V(2), V(false), V(2.5), V(Currency{5000}), Day(2000, 12, 24, 12), null});
  dataset.AddRow({V("meier"), null, null, V("Ölweg"), V(3), null, null, null, Day(1999, 1, 1), V("notiz")});
  dataset.AddRow(
      {V("Müller"), V("Änne"), null, null, V(4), V(true), V(-1.0), V(Currency{1000000}), Day(2026, 1, 1), null});
  dataset.AddRow({V("O'Neil"), null, null, null, null, V(false), V(0.0), null, null, null});
  dataset.AddRow({V("*"), null, null, null, V(6), V(true), null, null, Day(2030, 6, 15), null});
  dataset.AddRow({null, null, null, null, null, null, null, null, null, null});
  dataset.AddRow({V("Anton"), V("Anna"), null, null, V(8), V(false), V(8.25), V(Currency{0}), Day(1999, 12, 31), null});
  dataset.Open();
}

TMemoryDataSet& SharedAddresses() {
  static TMemoryDataSet* dataset = [] {
    auto* table = new TMemoryDataSet;
    FillAddresses(*table);
    return table;
  }();
  return *dataset;
}

}  // namespace vesk
