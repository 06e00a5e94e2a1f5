// The appointments table Data/termine.mti: its name, the index that orders
// the appointments by date and time, and its making on first use.
#pragma once

namespace vesk {

inline constexpr char kTermineTable[] = "Data/termine.mti";
// The index that orders the appointments by date, then time.
inline constexpr char kTermineIndex[] = "DatumUhrzeit";

// Makes the table with its fields and the date-and-time index when no file
// of that name exists yet. ERadiRidirError when it cannot be made.
void CreateTermineTableWhenMissing();

}  // namespace vesk
