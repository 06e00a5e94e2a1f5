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
#include "tools/tables/table_schemas.h"

namespace vesk {

namespace {

struct TableOfData {
  const TableSchema& schema;
  const char* data;
};

const TableOfData kTables[] = {{TariffSchema(), kTariffData}, {NetworkSchema(), kNetworkData}};

// The engine's file and the side files SQLite may leave beside it.
void RemoveTableFiles(const std::string& table) {
  std::error_code error;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(TableFilePath(table) + suffix, error);
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
  dataset.SetTableName(table.schema.table);
  dataset.Open();
  const GermanFormats formats;
  ImportCsv(dataset, in);
}

}  // namespace

void CreateTariffTablesWhenMissing(const std::string& dataFolder) {
  if (dataFolder.empty()) return;
  std::error_code error;
  for (const TableOfData& table : kTables) {
    const std::string file = dataFolder + "/" + table.data;
    if (!std::filesystem::exists(file, error) || !CreateTableWhenMissing(table.schema)) continue;
    try {
      Fill(table, file);
    } catch (const std::exception& failure) {
      RemoveTableFiles(table.schema.table);
      throw Exception(file + ": " + failure.what());
    }
  }
}

}  // namespace vesk
