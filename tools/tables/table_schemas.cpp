#include "tools/tables/table_schemas.h"

#include <filesystem>
#include <system_error>

namespace vesk {
namespace {

TableSchema Schema(const char* table, std::vector<TTableField> fields, std::vector<TTableIndex> indexes) {
  return {table, std::move(fields), std::move(indexes)};
}

}  // namespace

const TableSchema& AdressenSchema() {
  // Room for double names, long street names with house number and
  // addition, international numbers with extension, and a category title
  // as long as still fits a tab.
  static const TableSchema schema = Schema(kAdressenTable,
                                           {{.name = adressen::kName, .letter = 'S', .chars = 40},
                                            {.name = adressen::kVorname, .letter = 'S', .chars = 40},
                                            {.name = adressen::kPLZ, .letter = 'S', .chars = 10},
                                            {.name = adressen::kStadt, .letter = 'S', .chars = 40},
                                            {.name = adressen::kStrasse, .letter = 'S', .chars = 50},
                                            {.name = adressen::kTelefon1, .letter = 'S', .chars = 30},
                                            {.name = adressen::kTelefon2, .letter = 'S', .chars = 30},
                                            {.name = adressen::kFax, .letter = 'S', .chars = 30},
                                            {.name = adressen::kEmail, .letter = 'S', .chars = 80},
                                            {.name = adressen::kURL, .letter = 'S', .chars = 120},
                                            {.name = adressen::kText, .letter = 'M'},
                                            {.name = adressen::kKategorie, .letter = 'S', .chars = 30},
                                            {.name = adressen::kTarifzone1, .letter = 'S', .chars = 30},
                                            {.name = adressen::kTarifzone2, .letter = 'S', .chars = 30}},
                                           {{.name = kNameIndex, .fields = {0, 1}, .caseInsensitive = true}});
  return schema;
}

const TableSchema& NotizenSchema() {
  static const TableSchema schema =
      Schema(kNotizenTable,
             {{.name = notizen::kDatum, .letter = 'D'},
              {.name = notizen::kZeit, .letter = 'D'},
              {.name = notizen::kStichwort, .letter = 'S', .chars = notizen::kStichwortChars},
              {.name = notizen::kText, .letter = 'M'},
              {.name = notizen::kKategorie, .letter = 'S', .chars = notizen::kKategorieChars}},
             {{.name = kNotizenIndex, .fields = {2}, .caseInsensitive = true}});
  return schema;
}

const TableSchema& TermineSchema() {
  static const TableSchema schema = [] {
    TTableField datum{.name = termine::kDatum, .letter = 'D'};
    datum.constraints[tcRequired] = std::string("1");
    return Schema(kTermineTable,
                  {datum,
                   {.name = termine::kOrt, .letter = 'S', .chars = termine::kOrtChars},
                   {.name = termine::kUhrzeit, .letter = 'D'},
                   {.name = termine::kBemerkung, .letter = 'M'}},
                  {{.name = kTermineIndex, .fields = {0, 2}}});
  }();
  return schema;
}

// The same as
//   mtitool create 'Data\Tarife.mti' ID:I Name:S:40 Tag:S:2 Tarifzone:S:30 ZeitAnfang:D ZeitEnde:D Preis:C
//     --index 'TarifIx=Tag;Tarifzone;Preis'
const TableSchema& TariffSchema() {
  static const TableSchema schema = Schema(kTariffTable,
                                           {{.name = tarife::kID, .letter = 'I'},
                                            {.name = tarife::kName, .letter = 'S', .chars = 40},
                                            {.name = tarife::kTag, .letter = 'S', .chars = 2},
                                            {.name = tarife::kTarifzone, .letter = 'S', .chars = 30},
                                            {.name = tarife::kZeitAnfang, .letter = 'D'},
                                            {.name = tarife::kZeitEnde, .letter = 'D'},
                                            {.name = tarife::kPreis, .letter = 'C'}},
                                           {{.name = kTariffIndex, .fields = {2, 3, 6}}});
  return schema;
}

//   mtitool create 'Data\Telefon.mti' ID:I Netzvorwahl:S:20 Name:S:40 --index ID=ID
const TableSchema& NetworkSchema() {
  static const TableSchema schema = Schema(kNetworkTable,
                                           {{.name = telefon::kID, .letter = 'I'},
                                            {.name = telefon::kNetzvorwahl, .letter = 'S', .chars = 20},
                                            {.name = telefon::kName, .letter = 'S', .chars = 40}},
                                           {{.name = telefon::kID, .fields = {0}}});
  return schema;
}

bool CreateTableWhenMissing(const TableSchema& schema) {
  const std::filesystem::path path = TableFilePath(schema.table);
  std::error_code error;
  if (std::filesystem::exists(path, error)) return false;
  std::filesystem::create_directories(path.parent_path(), error);
  CreateTable(schema.table, schema.fields, schema.indexes);
  return true;
}

}  // namespace vesk
