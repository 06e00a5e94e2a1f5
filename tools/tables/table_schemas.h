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

// Each field's name as a constant named after it: kName is "Name". The
// names are handed on one by one, each rescan of the expansion taking the
// next (enough rescans for 64 fields).
#define VESK_FIELD_NAMES(...) __VA_OPT__(VESK_RESCAN(VESK_FIELD_NAME_EACH(__VA_ARGS__)))
#define VESK_FIELD_NAME_EACH(Field, ...)     \
  inline constexpr char k##Field[] = #Field; \
  __VA_OPT__(VESK_FIELD_NAME_AGAIN VESK_PARENS(__VA_ARGS__))
#define VESK_FIELD_NAME_AGAIN() VESK_FIELD_NAME_EACH
#define VESK_PARENS ()
#define VESK_RESCAN(...) VESK_RESCAN3(VESK_RESCAN3(VESK_RESCAN3(VESK_RESCAN3(__VA_ARGS__))))
#define VESK_RESCAN3(...) VESK_RESCAN2(VESK_RESCAN2(VESK_RESCAN2(VESK_RESCAN2(__VA_ARGS__))))
#define VESK_RESCAN2(...) VESK_RESCAN1(VESK_RESCAN1(VESK_RESCAN1(VESK_RESCAN1(__VA_ARGS__))))
#define VESK_RESCAN1(...) __VA_ARGS__

struct TableSchema {
  const char* table;  // the name as the windows give it, relative to the program folder
  std::vector<TTableField> fields;
  std::vector<TTableIndex> indexes;
};

namespace adressen {
VESK_FIELD_NAMES(Name, Vorname, PLZ, Stadt, Strasse, Telefon1, Telefon2, Fax, Email, URL, Text, Kategorie, Tarifzone1,
                 Tarifzone2)
}  // namespace adressen
inline constexpr char kAdressenTable[] = "Data/adressen.mti";
// Name, then first name, without regard to case.
inline constexpr char kNameIndex[] = "NameIx";
inline constexpr char kNameIndexFields[] = "Name;Vorname";

namespace notizen {
VESK_FIELD_NAMES(Datum, Zeit, Stichwort, Text, Kategorie)
inline constexpr int kStichwortChars = 50;
inline constexpr int kKategorieChars = 15;
}  // namespace notizen
inline constexpr char kNotizenTable[] = "Data/notizen.mti";
// The keyword, without regard to case.
inline constexpr char kNotizenIndex[] = "StichwortIx";

namespace termine {
VESK_FIELD_NAMES(Datum, Ort, Uhrzeit, Bemerkung)
inline constexpr int kOrtChars = 50;
}  // namespace termine
inline constexpr char kTermineTable[] = "Data/termine.mti";
// The index that orders the appointments by date, then time.
inline constexpr char kTermineIndex[] = "DatumUhrzeit";

namespace tarife {
VESK_FIELD_NAMES(ID, Name, Tag, Tarifzone, ZeitAnfang, ZeitEnde, Preis)
}  // namespace tarife
// The tariffs: which network is cheapest for a zone, a day kind and a time
// of day. Named as the address window names it.
inline constexpr char kTariffTable[] = "Data\\Tarife.mti";
// Day kind, zone, then price: among the tariffs in force the cheapest is
// the first.
inline constexpr char kTariffIndex[] = "TarifIx";

namespace telefon {
VESK_FIELD_NAMES(ID, Netzvorwahl, Name)
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
