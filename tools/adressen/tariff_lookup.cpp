#include "tools/adressen/tariff_lookup.h"

#include <memory>

#include "toolkit/data/field.h"
#include "tools/filter/filter_constant.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_definition.h"
#include "tools/tables/table_schemas.h"

namespace vesk {

namespace {

// Milliseconds since midnight; counted as whole milliseconds, so that
// 08:00:00 of the clock and 08:00 of the table are the same moment.
int32_t MillisecondOfDay(TDateTime value) { return DateTimeToTimeStamp(value).time; }

// One clear message for a table that is not there, instead of the table
// layer's warning followed by its error.
void RequireTable(const char* name) {
  if (!TableFileExists(name)) throw Exception(std::string("Die Tariftabelle ") + name + " fehlt");
}

}  // namespace

std::string DayCode(TDateTime date) {
  const int day = DayOfWeek(date);
  return day == 1 || day == 7 ? "WE" : "WT";
}

bool TariffBandAccepts(TDataSet& tariffs) {
  const int32_t start = MillisecondOfDay(tariffs.FieldByName(tarife::kZeitAnfang)->AsDateTime());
  if (MillisecondOfDay(Now()) < start) return false;
  const int32_t end = MillisecondOfDay(tariffs.FieldByName(tarife::kZeitEnde)->AsDateTime());
  return MillisecondOfDay(Now()) < end;
}

std::string LookupNetworkPrefix(const std::string& zone, const TFilterRecordEvent& filterRecord) {
  if (zone.empty()) return {};
  RequireTable(kTariffTable);
  RequireTable(kNetworkTable);
  // Freed on every road out, also when a step fails.
  const auto table = std::make_unique<TRadiRidir>();
  table->SetTableName(kTariffTable);
  // Quotes in a zone name are doubled, so the filter stays valid.
  table->SetFilterText("Tag = " + QuotedConstant(DayCode(Now())) + "AND Tarifzone = " + QuotedConstant(zone));
  // Zone names match in any case; a trailing "*" of a name is no pattern.
  table->SetFilterOptions(foCaseInsensitive | foNoPartialCompare);
  table->SetFiltered(true);
  table->SetOnFilterRecord(filterRecord);
  table->SetReadOnly(true);
  table->Open();
  table->SetIndexName(kTariffIndex);
  table->First();
  const bool found = !table->Eof();
  const int32_t network = found ? table->FieldByName(telefon::kID)->AsInteger() : 0;
  table->Close();
  if (!found) throw ENoTariff("Kein Tarif für die Zone " + zone + " zu dieser Zeit");

  table->SetFilterText("");
  table->SetFilterOptions(0);
  table->SetFiltered(false);
  table->SetOnFilterRecord(nullptr);
  table->SetTableName(kNetworkTable);
  table->Open();
  const Variant prefix = table->Lookup(telefon::kID, Variant(network), telefon::kNetzvorwahl);
  table->Close();
  if (prefix.IsNull()) throw ENoTariff("Kein Netz " + std::to_string(network) + " für die Zone " + zone);
  return prefix.AsString();
}

}  // namespace vesk
