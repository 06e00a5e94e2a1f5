// The address table Data/adressen.mti: its name, the name index that keeps
// the addresses in alphabetical order, and its making on first use.
#pragma once

namespace vesk {

inline constexpr char kAdressenTable[] = "Data/adressen.mti";
// Name, then first name, without regard to case.
inline constexpr char kNameIndex[] = "NameIx";
inline constexpr char kNameIndexFields[] = "Name;Vorname";

// Makes the table with its fields and the name index when no file of that
// name exists yet. ERadiRidirError when it cannot be made.
void CreateAdressenTableWhenMissing();

}  // namespace vesk
