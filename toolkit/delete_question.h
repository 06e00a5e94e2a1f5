// The question the navigator and the grid ask before they delete a record.
#pragma once

#include <string_view>

namespace vesk {

inline constexpr std::string_view kSDeleteRecordQuestion = "Datensatz löschen?";

// "Datensatz löschen?" with Yes and No, captioned with the application's
// title; true for Yes.
bool AskDeleteRecord();

}  // namespace vesk
