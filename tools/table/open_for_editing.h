// Opening a window's table: for writing when that is possible, else for
// reading, so that a table another program is writing stays readable.
#pragma once

#include <string>

namespace vesk {

class TRadiRidir;

// Opens the table (its name set) for writing. When that fails but the
// table opens for reading, it is opened so, the user is told once (what:
// "Die Adressen" or similar, the subject of the message) and the result is
// false. When it does not open at all, the first failure is raised and
// the table stays closed.
bool OpenForEditing(TRadiRidir& table, const std::string& what);

}  // namespace vesk
