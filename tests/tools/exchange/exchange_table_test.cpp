// Exchange files through the tables: an import is all or nothing, a value
// too long for its field is kept in the memo, an export read back gives the
// same records, and a second calendar export gives the same UIDs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "tests/support/temp_folder.h"
#include "tests/tools/exchange/sample_files.h"
#include "toolkit/data/field.h"
#include "tools/exchange/address_card.h"
#include "tools/exchange/address_exchange.h"
#include "tools/exchange/address_record.h"
#include "tools/exchange/appointment_exchange.h"
#include "tools/exchange/exchange_error.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/table_definition.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

class ExchangeTableTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(folder_.Path());
    CreateTableWhenMissing(AdressenSchema());
    CreateTableWhenMissing(TermineSchema());
    addresses_.SetTableName(kAdressenTable);
    addresses_.Open();
    appointments_.SetTableName(kTermineTable);
    appointments_.Open();
  }
  void TearDown() override {
    addresses_.Close();
    appointments_.Close();
    std::filesystem::current_path(previous_);
  }

  // Every record's fields, in table order.
  static std::vector<std::vector<std::string>> Records(TRadiRidir& table) {
    std::vector<std::vector<std::string>> records;
    for (table.First(); !table.Eof(); table.Next()) {
      records.emplace_back();
      for (int i = 0; i < table.FieldCount(); ++i) records.back().push_back(table.Fields(i)->AsString());
    }
    return records;
  }

  std::filesystem::path previous_ = std::filesystem::current_path();
  TempFolder folder_;
  TRadiRidir addresses_;
  TRadiRidir appointments_;
};

TEST_F(ExchangeTableTest, AddressesExportedReadBackAsTheSameRecords) {
  EXPECT_EQ(
      ImportVCards(addresses_, Sample("phone_21.vcf") + Sample("webmail_30.vcf") + Sample("v40_altid.vcf")).imported,
      4u);
  const auto imported = Records(addresses_);
  ASSERT_EQ(imported.size(), 4u);
  const std::string exported = ExportVCards(addresses_);

  TRadiRidir second;
  std::filesystem::create_directory("Zweit");
  std::filesystem::copy_file(kAdressenTable, "Zweit/leer.mti");
  second.SetTableName("Zweit/leer.mti");
  second.Open();
  while (!second.IsEmpty()) second.Delete();
  EXPECT_EQ(ImportVCards(second, exported).imported, 4u);
  EXPECT_EQ(Records(second), imported);

  // The filter chooses what goes out.
  addresses_.SetFilterText("Name = 'M*'");
  addresses_.SetFiltered(true);
  const std::vector<VCard> filtered = ReadVCards(ExportVCards(addresses_));
  ASSERT_EQ(filtered.size(), 1u);
  EXPECT_EQ(AddressFromCard(filtered[0]).Name, "Müller");
}

TEST_F(ExchangeTableTest, AnImportThatFailsChangesNothing) {
  ASSERT_EQ(ImportVCards(addresses_, Sample("phone_21.vcf")).imported, 2u);
  const auto before = Records(addresses_);
  const std::string broken = Sample("webmail_30.vcf") + "BEGIN:VCARD\r\nN:Halb\r\n";
  EXPECT_THROW(ImportVCards(addresses_, broken), EExchangeError);
  EXPECT_EQ(Records(addresses_), before);
  // Cards none of which can be read: the file is refused with the first.
  try {
    ImportVCards(addresses_, "BEGIN:VCARD\r\nVERSION:9\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN\r\nEND:VCARD\r\n");
    ADD_FAILURE() << "nothing readable, yet imported";
  } catch (const EExchangeError& error) {
    EXPECT_STREQ(error.what(),
                 "Zeile 2: vCard-Version 9 wird nicht gelesen (nur 2.1, 3.0, 4.0) (und 1 weiterer Fehler)");
  }
  EXPECT_EQ(Records(addresses_), before);

  // Stopped by the user after the first step of progress.
  std::string many;
  for (int i = 0; i < 120; ++i) many += "BEGIN:VCARD\r\nN:Name" + std::to_string(i) + "\r\nEND:VCARD\r\n";
  std::vector<size_t> told;
  EXPECT_THROW(ImportVCards(addresses_, many,
                            [&](size_t done, size_t total) {
                              told.push_back(done);
                              EXPECT_EQ(total, 120u);
                              return done < 50;
                            }),
               EImportCancelled);
  EXPECT_EQ(told, (std::vector<size_t>{0, 50}));
  EXPECT_EQ(Records(addresses_), before);

  // A record the table refuses after others went in: the line is its card's.
  std::vector<TTableField> fields;
  for (const auto& [name, member] : kAddressFields) fields.push_back({.name = name, .letter = 'S', .chars = 40});
  fields[3].constraints[tcRequired] = std::string("1");  // Stadt
  CreateTable("Data/streng.mti", fields, {});
  TRadiRidir strict;
  strict.SetTableName("Data/streng.mti");
  strict.Open();
  const std::string webmail = Sample("webmail_30.vcf");
  try {
    ImportVCards(strict, webmail + Sample("phone_21.vcf"));
    ADD_FAILURE() << "imported without Stadt";
  } catch (const EExchangeError& error) {
    // The phone's second card, which has no city, begins on its line 17.
    EXPECT_EQ(error.Line(), std::count(webmail.begin(), webmail.end(), '\n') + 17) << error.what();
  }
  EXPECT_TRUE(strict.IsEmpty());
}

TEST_F(ExchangeTableTest, TooLongValuesAreKeptInTheMemo) {
  const std::string name(45, 'N');
  ASSERT_EQ(ImportVCards(addresses_, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + name + ";Eva\r\nNOTE:Notiz\r\nEND:VCARD\r\n")
                .imported,
            1u);
  addresses_.First();
  EXPECT_EQ(addresses_.FieldByName("Name")->AsString(), name.substr(0, 40));
  EXPECT_EQ(addresses_.FieldByName("Text")->AsString(), "Notiz\n\nName (vollständig): " + name);
}

TEST_F(ExchangeTableTest, CalendarExportKeepsItsUidsAndReadsBack) {
  ASSERT_EQ(ImportCalendar(appointments_, Sample("other_zone.ics"), "Europe/Berlin", EncodeDate(2026, 12, 1)).imported,
            3u);
  appointments_.SetIndexName(kTermineIndex);
  const std::string first = ExportCalendar(appointments_, "Europe/Berlin", 30);
  const std::string second = ExportCalendar(appointments_, "Europe/Berlin", 30);
  auto uids = [](const std::string& text) {
    std::vector<std::string> found;
    for (size_t at = 0; (at = text.find("UID:", at)) != std::string::npos; at += 4)
      found.push_back(text.substr(at, text.find('\r', at) - at));
    return found;
  };
  const std::vector<std::string> firstUids = uids(first);
  EXPECT_EQ(firstUids, uids(second));
  EXPECT_EQ(std::set(firstUids.begin(), firstUids.end()).size(), 3u);

  const auto before = Records(appointments_);
  while (!appointments_.IsEmpty()) appointments_.Delete();
  ASSERT_EQ(ImportCalendar(appointments_, first, "Europe/Berlin", EncodeDate(2026, 12, 1)).imported, 3u);
  EXPECT_EQ(Records(appointments_), before);
}

}  // namespace
}  // namespace vesk
