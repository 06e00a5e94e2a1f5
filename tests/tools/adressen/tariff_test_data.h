// Tariff tables for the tests, made through the same road as the shipped
// ones: CSV files in a data folder of the test's own.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/tarife/tariff_tables.h"

namespace vesk {

// Wednesday: 08:00 to 18:00 two networks (the cheaper one, 2, wins), 18:00
// to 08:00 across midnight (3) and 20:00 to 00:00 (4), neither of which can
// match; a whole weekend day and a whole working day for a zone with a
// quote in its name (1); a zone whose network is missing (5).
inline constexpr char kTestTariffs[] =
    "# Zahlen nur für die Tests\r\n"
    "ID,Name,Tag,Tarifzone,ZeitAnfang,ZeitEnde,Preis\r\n"
    "1,Teuer,WT,Fern,08:00,18:00,\"0,0200\"\r\n"
    "2,Billig,WT,Fern,08:00:00,18:00:00,\"0,0100\"\r\n"
    "3,Über Mitternacht,WT,Fern,18:00,08:00,\"0,0050\"\r\n"
    "4,Bis Mitternacht,WT,Fern,20:00,00:00,\"0,0040\"\r\n"
    "1,Wochenende,WE,Fern,00:00,\"23:59:59,999\",\"0,0300\"\r\n"
    "1,Irland,WT,O'Zone,00:00,\"23:59:59,999\",\"0,0100\"\r\n"
    "5,Ohne Netz,WT,Mobil,00:00,\"23:59:59,999\",\"0,0100\"\r\n";
inline constexpr char kTestNetworks[] =
    "ID,Netzvorwahl,Name\r\n"
    "1,01011,Eins\r\n"
    "2,01022,Zwei\r\n"
    "3,01033,Drei\r\n"
    "4,01044,Vier\r\n";

// Writes the two files under folder/tarife and makes the tables in the
// current directory's Data/.
inline void MakeTariffTables(const std::string& folder, const std::string& tariffs = kTestTariffs,
                             const std::string& networks = kTestNetworks) {
  std::filesystem::create_directories(folder + "/tarife");
  std::ofstream(folder + "/" + kTariffData, std::ios::binary) << tariffs;
  std::ofstream(folder + "/" + kNetworkData, std::ios::binary) << networks;
  CreateTariffTablesWhenMissing(folder);
}

}  // namespace vesk
