// Addresses to and from vCard files, through the address table's dataset.
#pragma once

#include <string>
#include <string_view>

#include "tools/exchange/batch_import.h"

namespace vesk {

class TRadiRidir;

// Appends one record per card of the vCard text to the open table, all or
// none, and returns how many. A value longer than its field is cut there and
// given in full in Text. EExchangeError (line and reason) for a file that
// cannot be read or a record the table refuses; the table is then unchanged.
size_t ImportVCards(TRadiRidir& table, std::string_view text, const ImportProgress& progress = {});

// The records the dataset shows, in its order and under its filter, as
// vCard 3.0; the dataset ends on its last record.
std::string ExportVCards(TRadiRidir& table);

}  // namespace vesk
