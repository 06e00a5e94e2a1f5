// The two read-only tariff tables of the address book: the tariffs (which
// network is cheapest for a zone, a day kind and a time of day) and the
// networks with their dialling prefixes. They come with the program as CSV
// files in the shared data folder and are made from them when missing.
#pragma once

#include <string>

namespace vesk {

// The shipped files, in the shared data folder.
inline constexpr char kTariffData[] = "tarife/Tarife.csv";
inline constexpr char kNetworkData[] = "tarife/Telefon.csv";

// Makes each table that is missing from the CSV file of the same name in
// dataFolder, with the German number and time formats the shipped files are
// written in, all rows or none: a table that cannot be filled is removed
// again, so the next start tries anew. Does nothing without a data folder
// ("") or when the file is not there. Raises with the file, the row and the
// reason.
void CreateTariffTablesWhenMissing(const std::string& dataFolder);

}  // namespace vesk
