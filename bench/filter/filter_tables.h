// The tables of the filter benchmark: for each size one engine table and one
// plain SQLite table holding the same address records (Name, Vorname, Ort,
// Kategorie, Datum, Uhrzeit), the engine's with the windows' name and date
// indexes, built on first use in a temporary folder removed at the end.
#pragma once

#include <cstdint>
#include <string>

namespace vesk::bench {

// Day number of 01.01.2026, the date of the Datum condition.
inline constexpr double kFirstOf2026 = 46023;

const std::string& EngineFilterTable(int64_t records);
const std::string& PlainFilterTable(int64_t records);
void RemoveFilterTables();

}  // namespace vesk::bench
