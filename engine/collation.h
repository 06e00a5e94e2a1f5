// Text order of the user's language (ICU collator), shared by SQLite's
// indexes and the engine's own comparisons so both always agree.
#ifndef VESK_ENGINE_COLLATION_H
#define VESK_ENGINE_COLLATION_H

#include <sqlite3.h>

#include <string_view>

namespace vesk {

// Collation names used in the table files' index definitions.
inline constexpr const char* kCollationCase = "vesk_text";
inline constexpr const char* kCollationNoCase = "vesk_text_ci";

// < 0, 0, > 0 as a sorts before, with or after b.
int CompareText(std::string_view a, std::string_view b, bool case_insensitive);
// Makes both collations known to a connection.
void RegisterCollations(sqlite3* db);

}  // namespace vesk

#endif
