// The program's tables and their shapes, in one place: the address book,
// the notes, the appointments and the two tariff tables, each with its file
// name, its field names and text sizes, and its indexes. The windows, the
// exchange with other programs, the host and the tariff import name the
// tables and fields through these constants.
#pragma once

#include <string>
#include <vector>

#include "tools/table/table_definition.h"

namespace vesk {

struct TableSchema {
  const char* table;  // the name as the windows give it, relative to the program folder
  std::vector<TTableField> fields;
  std::vector<TTableIndex> indexes;
};

namespace adressen {
inline constexpr char kName[] = "Name";
inline constexpr char kVorname[] = "Vorname";
inline constexpr char kPLZ[] = "PLZ";
inline constexpr char kStadt[] = "Stadt";
inline constexpr char kStrasse[] = "Strasse";
inline constexpr char kTelefon1[] = "Telefon1";
inline constexpr char kTelefon2[] = "Telefon2";
inline constexpr char kFax[] = "Fax";
inline constexpr char kEmail[] = "Email";
inline constexpr char kURL[] = "URL";
inline constexpr char kText[] = "Text";
inline constexpr char kKategorie[] = "Kategorie";
inline constexpr char kTarifzone1[] = "Tarifzone1";
inline constexpr char kTarifzone2[] = "Tarifzone2";
}  // namespace adressen
inline constexpr char kAdressenTable[] = "Data/adressen.mti";
// Name, then first name, without regard to case.
inline constexpr char kNameIndex[] = "NameIx";
inline constexpr char kNameIndexFields[] = "Name;Vorname";

namespace notizen {
inline constexpr char kDatum[] = "Datum";
inline constexpr char kZeit[] = "Zeit";
inline constexpr char kStichwort[] = "Stichwort";
inline constexpr char kText[] = "Text";
inline constexpr char kKategorie[] = "Kategorie";
inline constexpr int kStichwortChars = 50;
inline constexpr int kKategorieChars = 15;
}  // namespace notizen
inline constexpr char kNotizenTable[] = "Data/notizen.mti";
// The keyword, without regard to case.
inline constexpr char kNotizenIndex[] = "StichwortIx";

namespace termine {
inline constexpr char kDatum[] = "Datum";
inline constexpr char kOrt[] = "Ort";
inline constexpr char kUhrzeit[] = "Uhrzeit";
inline constexpr char kBemerkung[] = "Bemerkung";
inline constexpr int kOrtChars = 50;
}  // namespace termine
inline constexpr char kTermineTable[] = "Data/termine.mti";
// The index that orders the appointments by date, then time.
inline constexpr char kTermineIndex[] = "DatumUhrzeit";

namespace tarife {
inline constexpr char kID[] = "ID";
inline constexpr char kName[] = "Name";
inline constexpr char kTag[] = "Tag";
inline constexpr char kTarifzone[] = "Tarifzone";
inline constexpr char kZeitAnfang[] = "ZeitAnfang";
inline constexpr char kZeitEnde[] = "ZeitEnde";
inline constexpr char kPreis[] = "Preis";
}  // namespace tarife
// The tariffs: which network is cheapest for a zone, a day kind and a time
// of day. Named as the address window names it.
inline constexpr char kTariffTable[] = "Data\\Tarife.mti";
// Day kind, zone, then price: among the tariffs in force the cheapest is
// the first.
inline constexpr char kTariffIndex[] = "TarifIx";

namespace telefon {
inline constexpr char kID[] = "ID";
inline constexpr char kNetzvorwahl[] = "Netzvorwahl";
inline constexpr char kName[] = "Name";
}  // namespace telefon
// The networks with their dialling prefixes.
inline constexpr char kNetworkTable[] = "Data\\Telefon.mti";

const TableSchema& AdressenSchema();
const TableSchema& NotizenSchema();
const TableSchema& TermineSchema();
const TableSchema& TariffSchema();
const TableSchema& NetworkSchema();

// Makes the table with its fields and indexes, and its folder, when no file
// of that name exists yet; whether it made it. ERadiRidirError when it
// cannot be made.
bool CreateTableWhenMissing(const TableSchema& schema);

}  // namespace vesk
