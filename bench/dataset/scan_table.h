// The table of the dataset benchmark: address-like records built through the
// engine in one batch, in a temporary folder removed at the end.
#pragma once

#include <cstdint>
#include <string>

namespace vesk::bench {

// Path of a table of `records` records (built on first use, then kept).
const std::string& ScanTable(int64_t records);
void RemoveScanTables();

}  // namespace vesk::bench
