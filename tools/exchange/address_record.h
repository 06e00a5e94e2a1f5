// One address as the address table holds it, field by field, in the form
// the exchange formats read and write.
#pragma once

#include <string>
#include <utility>

namespace vesk {

struct AddressRecord {
  std::string Name, Vorname, PLZ, Stadt, Strasse, Telefon1, Telefon2, Fax, Email, URL, Text, Kategorie;
  friend bool operator==(const AddressRecord&, const AddressRecord&) = default;
};

// The table's field name of each member, in the table's order.
inline constexpr std::pair<const char*, std::string AddressRecord::*> kAddressFields[] = {
    {"Name", &AddressRecord::Name},         {"Vorname", &AddressRecord::Vorname},
    {"PLZ", &AddressRecord::PLZ},           {"Stadt", &AddressRecord::Stadt},
    {"Strasse", &AddressRecord::Strasse},   {"Telefon1", &AddressRecord::Telefon1},
    {"Telefon2", &AddressRecord::Telefon2}, {"Fax", &AddressRecord::Fax},
    {"Email", &AddressRecord::Email},       {"URL", &AddressRecord::URL},
    {"Text", &AddressRecord::Text},         {"Kategorie", &AddressRecord::Kategorie}};

}  // namespace vesk
