// One address as the address table holds it, field by field, in the form
// the exchange formats read and write.
#pragma once

#include <string>
#include <utility>

#include "tools/tables/table_schemas.h"

namespace vesk {

struct AddressRecord {
  std::string Name, Vorname, PLZ, Stadt, Strasse, Telefon1, Telefon2, Fax, Email, URL, Text, Kategorie;
  friend bool operator==(const AddressRecord&, const AddressRecord&) = default;
};

// The table's field name of each member, in the table's order.
inline constexpr std::pair<const char*, std::string AddressRecord::*> kAddressFields[] = {
    {adressen::kName, &AddressRecord::Name},         {adressen::kVorname, &AddressRecord::Vorname},
    {adressen::kPLZ, &AddressRecord::PLZ},           {adressen::kStadt, &AddressRecord::Stadt},
    {adressen::kStrasse, &AddressRecord::Strasse},   {adressen::kTelefon1, &AddressRecord::Telefon1},
    {adressen::kTelefon2, &AddressRecord::Telefon2}, {adressen::kFax, &AddressRecord::Fax},
    {adressen::kEmail, &AddressRecord::Email},       {adressen::kURL, &AddressRecord::URL},
    {adressen::kText, &AddressRecord::Text},         {adressen::kKategorie, &AddressRecord::Kategorie}};

}  // namespace vesk
