// CSV rows into an open table, all of them or none: the header row names
// the fields, each further row is one new record with its cells as
// CellText writes them. Lines beginning with "#" before the header are
// comments (what a shipped file says about its figures).
#pragma once

#include <istream>

namespace vesk {

class TRadiRidir;

// Raises with the row (from 1 after the header) and, where one cell is at
// fault, its column; the table is then as it was. An autoincrement column
// must match the numbers the table gives, and a text longer than its field
// is refused rather than cut.
void ImportCsv(TRadiRidir& table, std::istream& in);

}  // namespace vesk
