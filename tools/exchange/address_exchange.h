// Addresses to and from vCard files, through the address table's dataset.
#pragma once

#include <string>
#include <string_view>

#include "tools/exchange/batch_import.h"

namespace vesk {

class TRadiRidir;

// Appends one record per readable card of the vCard text to the open
// table, all or none; the cards that cannot be read are skipped and named
// in the result. A value longer than its field is cut there and given in
// full in Text. EExchangeError (line and reason) for a file that is no
// whole vCard file, of which no card can be read, or with a record the
// table refuses; the table is then unchanged.
ImportResult ImportVCards(TRadiRidir& table, std::string_view text, const ImportProgress& progress = {});

// The records the dataset shows, in its order and under its filter, as
// vCard 3.0; the dataset ends on its last record.
std::string ExportVCards(TRadiRidir& table);

}  // namespace vesk
