// The tariff lookup over tariff tables made by the test, with the clock set
// by the test, and the tariff data that comes with the program.
#include "tools/adressen/tariff_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/format_settings.h"
#include "tests/tools/adressen/tariff_test_data.h"
#include "tests/tools/library_window_test.h"
#include "toolkit/data/field.h"
#include "tools/table/RadiRidir.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// Wednesday, 9 December 2026, and the days around it.
constexpr int kWednesday = 9;

class TariffLookup : public LibraryWindowTest {
 protected:
  void TearDown() override {
    SetClockForTesting(nullptr);
    LibraryWindowTest::TearDown();
  }
  static void SetClock(int day, int hour, int minute, int second = 0, int msec = 0) {
    const TDateTime now = EncodeDate(2026, 12, day) + EncodeTime(hour, minute, second, msec);
    SetClockForTesting([now] { return now; });
  }
  static std::string Prefix(const std::string& zone) {
    return LookupNetworkPrefix(zone, [](TDataSet& tariffs, bool& accept) { accept = TariffBandAccepts(tariffs); });
  }
};

TEST_F(TariffLookup, DayCodeCountsSaturdayAndSundayAsWeekend) {
  const char* expected[] = {"WE", "WT", "WT", "WT", "WT", "WT", "WE"};  // Sunday 13 December first
  for (int day = 0; day < 7; ++day) EXPECT_EQ(DayCode(EncodeDate(2026, 12, 13 + day)), expected[day]) << day;
}

TEST_F(TariffLookup, BandBeginsAtItsStartAndEndsBeforeItsEnd) {
  MakeTariffTables(File("data"));
  SetClock(kWednesday, 8, 0);
  EXPECT_EQ(Prefix("Fern"), "01022") << "the cheaper of two tariffs in force comes first";
  SetClock(kWednesday, 17, 59, 59);
  EXPECT_EQ(Prefix("Fern"), "01022");
  SetClock(kWednesday, 17, 59, 59, 999);
  EXPECT_EQ(Prefix("Fern"), "01022");
  // 18:00 to 08:00 crosses midnight and 20:00 to 00:00 ends at 00:00:
  // neither ever matches, so outside 08:00 to 18:00 nothing is in force.
  for (int hour : {18, 21, 23, 0, 7}) {
    SetClock(kWednesday, hour, hour == 7 ? 59 : 0, hour == 7 ? 59 : 0);
    EXPECT_THROW(Prefix("Fern"), ENoTariff) << hour;
  }
  SetClock(12, 12, 0);  // Saturday
  EXPECT_EQ(Prefix("Fern"), "01011");
  SetClock(13, 23, 59, 59);  // Sunday
  EXPECT_EQ(Prefix("Fern"), "01011");
  SetClock(14, 12, 0);  // Monday
  EXPECT_EQ(Prefix("Fern"), "01022");
}

TEST_F(TariffLookup, ZoneWithAQuoteMissingNetworkAndNoZone) {
  MakeTariffTables(File("data"));
  SetClock(kWednesday, 12, 0);
  EXPECT_EQ(Prefix("O'Zone"), "01011");
  EXPECT_THROW(Prefix("Mobil"), ENoTariff) << "its network is not in the network table";
  EXPECT_THROW(Prefix("Unbekannt"), ENoTariff);
  EXPECT_EQ(Prefix(""), "");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(TariffLookup, MissingTableIsOneClearError) {
  SetClock(kWednesday, 12, 0);
  EXPECT_EQ(Prefix(""), "") << "no zone needs no table";
  try {
    Prefix("Fern");
    ADD_FAILURE() << "no error";
  } catch (const ENoTariff&) {
    ADD_FAILURE() << "a missing table is not a missing tariff";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Die Tariftabelle Data\\Tarife.mti fehlt");
  }
  EXPECT_TRUE(boxes_.empty()) << "no warning besides the error";
}

TEST_F(TariffLookup, TablesAreMadeOnceAllRowsOrNone) {
  std::string broken = kTestTariffs;
  broken += "1,Kaputt,WT,Fern,25:00,26:00,\"0,01\"\r\n";
  try {
    MakeTariffTables(File("data"), broken);
    ADD_FAILURE() << "no error";
  } catch (const std::exception& error) {
    EXPECT_NE(std::string(error.what()).find("Tarife.csv: Row 8, column ZeitAnfang"), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(File("Data/Tarife.mti"))) << "a half table would be used next time";

  MakeTariffTables(File("data"));
  MakeTariffTables(File("other"), "ID,Name,Tag,Tarifzone,ZeitAnfang,ZeitEnde,Preis\r\n");
  TRadiRidir table;
  table.SetTableName(kTariffTable);
  table.Open();
  EXPECT_EQ(table.RecordCount(), 7) << "an existing table is left as it is";
  CreateTariffTablesWhenMissing("");  // no data folder: nothing to do
}

// The shipped data is written in German formats; it is read so under any.
TEST_F(TariffLookup, ShippedDataCoversEveryZoneAtEveryTimeOfTheWeek) {
  FormatSettings english;
  english.decimalSeparator = '.';
  english.thousandSeparator = ',';
  english.shortDateFormat = "m/d/yyyy";
  english.dateSeparator = '/';
  SetFormatSettings(english);
  CreateTariffTablesWhenMissing(std::string(VESK_SOURCE_DIR) + "/data");
  EXPECT_EQ(GetFormatSettings().decimalSeparator, '.') << "the user's formats come back";
  SetFormatSettings(FormatSettings{});

  // Every tariff's network is there.
  TRadiRidir tariffs, networks;
  tariffs.SetTableName(kTariffTable);
  tariffs.Open();
  networks.SetTableName(kNetworkTable);
  networks.Open();
  ASSERT_GT(tariffs.RecordCount(), 0);
  for (tariffs.First(); !tariffs.Eof(); tariffs.Next()) {
    const Variant id = tariffs.FieldByName("ID")->Value();
    EXPECT_FALSE(networks.Lookup("ID", id, "Netzvorwahl").IsNull()) << id.AsString();
  }
  tariffs.Close();
  networks.Close();

  // A week from Sunday in steps of 13 minutes, which meet every minute of
  // the hour, and the last moments before midnight.
  for (const char* zone : {"Ort", "Regional", "Fern", "Mobil", "Ausland"}) {
    for (int minute = 0; minute < 7 * 24 * 60; minute += 13) {
      SetClock(13 + minute / (24 * 60), minute / 60 % 24, minute % 60);
      EXPECT_NO_THROW(EXPECT_EQ(Prefix(zone).rfind("010", 0), 0u)) << zone << " minute " << minute;
    }
    SetClock(kWednesday, 23, 59, 59, 998);
    EXPECT_NO_THROW(Prefix(zone)) << zone;
  }
}

}  // namespace
}  // namespace vesk
