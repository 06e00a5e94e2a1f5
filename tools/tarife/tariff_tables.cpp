#include "tools/tarife/tariff_tables.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/format_settings.h"
#include "tools/csv/csv_import.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_definition.h"

namespace vesk {

namespace {

struct TableOfData {
  const char* table;
  const char* data;
  std::vector<TTableField> fields;
  std::vector<TTableIndex> indexes;
};

// The same as
//   mtitool create 'Data\Tarife.mti' ID:I Name:S:40 Tag:S:2 Tarifzone:S:30 ZeitAnfang:D ZeitEnde:D Preis:C
//     --index 'TarifIx=Tag;Tarifzone;Preis'
//   mtitool create 'Data\Telefon.mti' ID:I Netzvorwahl:S:20 Name:S:40 --index ID=ID
std::vector<TableOfData> Tables() {
  return {
      {kTariffTable,
       kTariffData,
       {{.name = "ID", .letter = 'I'},
        {.name = "Name", .letter = 'S', .chars = 40},
        {.name = "Tag", .letter = 'S', .chars = 2},
        {.name = "Tarifzone", .letter = 'S', .chars = 30},
        {.name = "ZeitAnfang", .letter = 'D'},
        {.name = "ZeitEnde", .letter = 'D'},
        {.name = "Preis", .letter = 'C'}},
       {{.name = kTariffIndex, .fields = {2, 3, 6}}}},
      {kNetworkTable,
       kNetworkData,
       {{.name = "ID", .letter = 'I'},
        {.name = "Netzvorwahl", .letter = 'S', .chars = 20},
        {.name = "Name", .letter = 'S', .chars = 40}},
       {{.name = "ID", .fields = {0}}}},
  };
}

// The engine's file and the side files SQLite may leave beside it.
void RemoveTableFiles(const std::string& table) {
  std::error_code error;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(TableFilePath(table) + suffix, error);
}

// The shipped files are written in the German formats, whatever the user's.
class GermanFormats {
 public:
  GermanFormats() : saved_(GetFormatSettings()) { SetFormatSettings(FormatSettings{}); }
  ~GermanFormats() { SetFormatSettings(saved_); }
  GermanFormats(const GermanFormats&) = delete;
  GermanFormats& operator=(const GermanFormats&) = delete;

 private:
  FormatSettings saved_;
};

void Fill(const TableOfData& table, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Exception("Cannot read " + file);
  TRadiRidir dataset;
  dataset.SetTableName(table.table);
  dataset.Open();
  const GermanFormats formats;
  ImportCsv(dataset, in);
}

}  // namespace

void CreateTariffTablesWhenMissing(const std::string& dataFolder) {
  if (dataFolder.empty()) return;
  std::error_code error;
  for (const TableOfData& table : Tables()) {
    const std::string file = dataFolder + "/" + table.data;
    const std::string path = TableFilePath(table.table);
    if (std::filesystem::exists(path, error) || !std::filesystem::exists(file, error)) continue;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    CreateTable(table.table, table.fields, table.indexes);
    try {
      Fill(table, file);
    } catch (const std::exception& failure) {
      RemoveTableFiles(table.table);
      throw Exception(file + ": " + failure.what());
    }
  }
}

}  // namespace vesk
