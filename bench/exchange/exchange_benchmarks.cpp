#include "bench/exchange/exchange_benchmarks.h"

#include <filesystem>
#include <functional>

#include "bench/support/table_folder.h"
#include "toolkit/data/field.h"
#include "tools/exchange/address_card.h"
#include "tools/exchange/address_exchange.h"
#include "tools/exchange/appointment_exchange.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk::bench {
namespace {

constexpr const char* kImportTable = "Data/import.mti";
constexpr const char* kZone = "Europe/Berlin";

TableFolder& Folder() {
  static TableFolder folder("exchange");
  return folder;
}

// The folder holds the empty address table and the appointments table of
// records records; the benchmarks run in it.
void EnterFolder(int64_t records) {
  const std::string& path = Folder().Table("folder", records, [](const std::string& folder, int64_t count) {
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    CreateTableWhenMissing(AdressenSchema());
    CreateTableWhenMissing(TermineSchema());
    TRadiRidir table;
    table.SetTableName(kTermineTable);
    table.Open();
    std::vector<AppointmentRecord> appointments;
    for (int64_t i = 0; i < count; ++i) {
      AppointmentRecord a;
      a.Datum = EncodeDate(2027, 1, 1) + static_cast<double>(i % 365);
      a.Uhrzeit = EncodeTime(static_cast<int>(8 + i % 10), static_cast<int>(i % 4 * 15), 0, 0);
      a.Ort = "Besprechung " + std::to_string(i) + " im Büro Köln";
      a.Bemerkung = "Unterlagen mitbringen; Zimmer " + std::to_string(i % 300) + "\nDanach Mittagessen";
      appointments.push_back(std::move(a));
    }
    std::string text = CalendarFromAppointments(appointments, {kZone, 120, "@bench"});
    ImportCalendar(table, text, kZone, EncodeDate(2027, 1, 1));
  });
  std::filesystem::current_path(path);
}

// A webmail's export: several numbers and mail addresses, an address,
// categories, a folded note with umlauts and escapes.
std::string VCardFile(int64_t count) {
  std::string text;
  for (int64_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Müller-" + n + ";Jürgen;;;\r\nFN:Jürgen Müller-" + n +
            "\r\nTEL;TYPE=CELL:+49 170 " + n + "\r\nTEL;TYPE=HOME:0221 " + n + "\r\nTEL;TYPE=WORK:0221 9" + n +
            "\r\nTEL;TYPE=WORK,FAX:0221 8" + n + "\r\nEMAIL;TYPE=INTERNET:j" + n +
            "@example.de\r\nEMAIL;TYPE=INTERNET,WORK:j" + n + "@firma.example\r\nADR;TYPE=HOME:;;Hauptstraße " + n +
            ";Köln;;50667;Deutschland\r\nORG:Beispiel GmbH\r\nCATEGORIES:Kunden,Messe\r\nNOTE:Erste Zeile\\nZweite Zei"
            "le mit Komma\\, und Ümlaut\r\n  und gefaltet\r\nEND:VCARD\r\n";
  }
  return text;
}

const std::string& VCards(int64_t count) {
  static const std::string text = VCardFile(count);
  return text;
}

// The import table, empty, opened.
void OpenEmpty(TRadiRidir& table) {
  std::filesystem::copy_file(kAdressenTable, kImportTable, std::filesystem::copy_options::overwrite_existing);
  table.SetTableName(kImportTable);
  table.Open();
}

// Each iteration times work on an empty import table; opening and closing
// it lie outside the time.
void OnEmptyTables(benchmark::State& state, const std::function<void(TRadiRidir&)>& work) {
  for (auto _ : state) {
    state.PauseTiming();
    TRadiRidir table;
    OpenEmpty(table);
    state.ResumeTiming();
    work(table);
    state.PauseTiming();
    table.Close();
    state.ResumeTiming();
  }
}

void Report(benchmark::State& state) {
  state.counters["per_record"] = benchmark::Counter(
      static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void OpenAppointments(TRadiRidir& table) {
  table.SetTableName(kTermineTable);
  table.SetReadOnly(true);
  table.Open();
  table.SetIndexName(kTermineIndex);
}

}  // namespace

void ImportVCardFile(benchmark::State& state) {
  EnterFolder(state.range(0));
  const std::string& text = VCards(state.range(0));
  OnEmptyTables(state, [&](TRadiRidir& table) {
    if (ImportVCards(table, text).imported != static_cast<size_t>(state.range(0)))
      state.SkipWithError("not all imported");
  });
  Report(state);
}

void StoreAddresses(benchmark::State& state) {
  EnterFolder(state.range(0));
  std::vector<AddressRecord> addresses;
  for (const VCard& card : ReadVCards(VCards(state.range(0)))) addresses.push_back(AddressFromCard(card));
  OnEmptyTables(state, [&](TRadiRidir& table) {
    std::vector<TField*> fields;
    for (const auto& [name, member] : kAddressFields) fields.push_back(table.FieldByName(name));
    AppendInOneBatch(
        table, addresses.size(),
        [&](size_t i) {
          for (size_t f = 0; f < fields.size(); ++f) SetTextCut(*fields[f], addresses[i].*kAddressFields[f].second);
        },
        [](size_t) { return 0; }, {});
  });
  Report(state);
}

void ExportCalendarFile(benchmark::State& state) {
  EnterFolder(state.range(0));
  TRadiRidir table;
  OpenAppointments(table);
  size_t bytes = 0;
  for (auto _ : state) bytes = ExportCalendar(table, kZone, 120).size();
  state.counters["bytes"] = static_cast<double>(bytes);
  Report(state);
}

void ReadAppointments(benchmark::State& state) {
  EnterFolder(state.range(0));
  TRadiRidir table;
  OpenAppointments(table);
  const TField& datum = *table.FieldByName("Datum");
  const TField& uhrzeit = *table.FieldByName("Uhrzeit");
  const TField& ort = *table.FieldByName("Ort");
  const TField& bemerkung = *table.FieldByName("Bemerkung");
  for (auto _ : state) {
    std::vector<AppointmentRecord> appointments;
    for (table.First(); !table.Eof(); table.Next()) {
      AppointmentRecord a;
      a.Datum = datum.AsDateTime();
      a.Uhrzeit = uhrzeit.AsDateTime();
      a.Ort = ort.AsString();
      a.Bemerkung = bemerkung.AsString();
      a.identity = table.RecordIdentity();
      appointments.push_back(std::move(a));
    }
    benchmark::DoNotOptimize(appointments.data());
  }
  Report(state);
}

void RemoveExchangeTables() {
  std::filesystem::current_path("/");
  Folder().Remove();
}

}  // namespace vesk::bench
