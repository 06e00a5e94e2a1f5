// mtitool run as a process: create, import, export round trip, a bad cell
// that changes nothing, usage and failure exit codes, the libraries it needs.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <QDateTime>
#include <QTimeZone>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/generated_locales.h"
#include "tests/support/radicale_server.h"
#include "tests/support/temp_folder.h"

namespace {

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

class MtitoolTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }

  // Runs mtitool in the locale (the German formats of the C locale unless a
  // test says otherwise), without a display.
  Result Run(const std::string& arguments, const std::string& input = "") const {
    Write("stdin", input);
    const std::string command = "cd '" + folder_ + "' && LC_ALL=" + locale_ +
                                " VESK_NONINTERACTIVE=1 '" MTITOOL_PATH "' " + arguments +
                                " < stdin > stdout 2> stderr";
    const int status = std::system(command.c_str());
    Result result;
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Read(Path("stdout"));
    result.err = Read(Path("stderr"));
    return result;
  }

  vesk::TempFolder temp_;
  std::string folder_ = temp_.Path();
  std::string locale_ = "C";
};

constexpr const char* kCreate =
    "create people.mti Name:S:20 Alter:I Aktiv:B Betrag:F Datum:D Notiz:M --index ByName=Name "
    "--required Name --default Alter=7 --min Alter=0 --max Alter=150";

constexpr const char* kPeople =
    "Name,Alter,Aktiv,Betrag,Datum,Notiz\r\n"
    "Müller,42,True,\"1,5\",01.02.2024,\"zwei\r\nZeilen, mit \"\"Zitat\"\"\"\r\n"
    "Abel,,False,,24.12.2026 18:30:00,\r\n"
    "Zander,7,True,-3,,kurz\r\n";

TEST_F(MtitoolTest, CreateImportExportRoundTrip) {
  Result created = Run(kCreate);
  ASSERT_EQ(created.code, 0) << created.err;
  Write("people.csv", kPeople);
  Result imported = Run("import people.mti people.csv");
  ASSERT_EQ(imported.code, 0) << imported.err;
  Result exported = Run("export people.mti");
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(exported.out, kPeople);

  Result ordered = Run("export people.mti --index ByName");
  const size_t abel = ordered.out.find("\r\nAbel,");
  const size_t mueller = ordered.out.find("\r\nMüller,");
  const size_t zander = ordered.out.find("\r\nZander,");
  EXPECT_TRUE(abel < mueller && mueller < zander && zander != std::string::npos) << ordered.out;
  EXPECT_EQ(ordered.out.size(), exported.out.size());

  Result info = Run("info people.mti");
  ASSERT_EQ(info.code, 0) << info.err;
  EXPECT_NE(info.out.find("  Name S 20\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("  Notiz M 4\n"), std::string::npos);
  EXPECT_NE(info.out.find("Indexes:\n  ByName\n"), std::string::npos);
  EXPECT_NE(info.out.find("  Alter max 150\n"), std::string::npos);
  EXPECT_NE(info.out.find("Records: 3\n"), std::string::npos);

  // Standard input, and a second import adds to the records.
  Result piped = Run("import people.mti -", "Name\nNeu\n");
  ASSERT_EQ(piped.code, 0) << piped.err;
  EXPECT_NE(Run("info people.mti").out.find("Records: 4\n"), std::string::npos);
}

// Every field type letter, with values that display formats would round or
// that a two-digit year would move, times of day alone, exported, imported into a new table and
// exported again: both exports are the same, in German and English formats.
TEST_F(MtitoolTest, ExportThenImportGivesTheSameTableForEveryType) {
  vesk::GeneratedLocales locales({"en_GB"});
  ASSERT_TRUE(locales.Missing().empty()) << "localedef cannot make en_GB (package locales)";
  constexpr const char* kAllTypes =
      " Nr:A Text:S:10 Zahl:I Ja:B Gleit:F Real:R Geld:C Wann:D Memo:M Formatiert:E "
      "Bild:G Daten:L";
  const std::string header = "Nr,Text,Zahl,Ja,Gleit,Real,Geld,Wann,Memo,Formatiert,Bild,Daten\r\n";
  struct Case {
    const char* locale;
    std::string rows;
  };
  const Case cases[] = {
      {"C",
       "1,Äöü ß,-2147483648,True,\"0,30000000000000004\",1e+300,10,\"24.12.2026 "
       "18:30:05,123\",\"a\r\nb\",,AAEC/w==,\r\n"
       "2,,2147483647,False,\"-0,5e-7\",,\"1234,5678\",01.01.1949,,\"{\\rtf1}\",,\"YQ==\"\r\n"
       "3,,,,,,,30.12.1899 00:00:00,,,,\r\n"},
      {"en_GB.UTF-8",
       "1,x,0,True,0.1,2.5,10.01,24/12/1949 06:05:04.007,,,,\r\n"
       "2,y,1,False,,,0.0001,31/12/2049,,,,\r\n"
       "3,z,,,,,,14:30,,,,\r\n"
       "4,,,,,,,9:05:04.25,,,,\r\n"},
  };
  const std::string expected[] = {
      "1,Äöü ß,-2147483648,True,\"0,30000000000000004\",1e+300,10,\"24.12.2026 18:30:05,123\",\"a\r\nb\",,AAEC/w==,\r\n"
      "2,,2147483647,False,-5e-08,,\"1234,5678\",01.01.1949,,{\\rtf1},,YQ==\r\n"
      "3,,,,,,,30.12.1899,,,,\r\n",
      "1,x,0,True,0.1,2.5,10.01,24/12/1949 06:05:04.007,,,,\r\n"
      "2,y,1,False,,,1e-04,31/12/2049,,,,\r\n"
      "3,z,,,,,,14:30:00,,,,\r\n"  // a time of day alone, as an appointment's Uhrzeit
      "4,,,,,,,09:05:04.250,,,,\r\n",
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    locale_ = std::string(cases[i].locale) + " LOCPATH='" + locales.Path() + "'";
    const std::string first = "first" + std::to_string(i) + ".mti";
    const std::string second = "second" + std::to_string(i) + ".mti";
    ASSERT_EQ(Run("create " + first + kAllTypes).code, 0);
    ASSERT_EQ(Run("create " + second + kAllTypes).code, 0);
    Result imported = Run("import " + first + " -", header + cases[i].rows);
    ASSERT_EQ(imported.code, 0) << imported.err;
    Result exported = Run("export " + first);
    EXPECT_EQ(exported.out, header + expected[i]) << cases[i].locale;
    Result again = Run("import " + second + " -", exported.out);
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(Run("export " + second).out, exported.out) << cases[i].locale;
  }

  // Numbers the table would not give, and a blob cell that is no base64.
  locale_ = "C";
  Result gap = Run("import second0.mti -", "Nr,Zahl\n4,1\n9,2\n");
  EXPECT_EQ(gap.code, 1);
  EXPECT_EQ(gap.err, "Row 2, column Nr: the table numbers this field itself and gives 5, not 9\n");
  Result blob = Run("import second0.mti -", "Daten\nnicht base64!\n");
  EXPECT_EQ(blob.code, 1);
  EXPECT_EQ(blob.err, "Row 1, column Daten: The cell is not base64, as blob cells are written\n");
  EXPECT_NE(Run("info second0.mti").out.find("Records: 3\n"), std::string::npos);
}

TEST_F(MtitoolTest, TextFieldsHoldCharactersAndRefuseLongerCells) {
  ASSERT_EQ(Run("create s5.mti N:S:5").code, 0);
  const std::string whole = "N\r\nÄÖÜäö\r\n€€€€€\r\n𝄞𝄞𝄞𝄞𝄞\r\nabcde\r\n";
  Result imported = Run("import s5.mti -", whole);
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(Run("export s5.mti").out, whole);
  EXPECT_NE(Run("info s5.mti").out.find("  N S 5\n"), std::string::npos);

  Result longer = Run("import s5.mti -", "N\nÄÖÜäö\nÄÖÜäöß\n");
  EXPECT_EQ(longer.code, 1);
  EXPECT_EQ(longer.err, "Row 2, column N: text of 6 characters is longer than the field's 5\n");
  Result ascii = Run("import s5.mti -", "N\nabcdef\n");
  EXPECT_EQ(ascii.err, "Row 1, column N: text of 6 characters is longer than the field's 5\n");
  EXPECT_EQ(Run("export s5.mti").out, whole) << "nothing of a refused import stays";
}

TEST_F(MtitoolTest, BadCellNamesItsPlaceAndChangesNothing) {
  ASSERT_EQ(Run(kCreate).code, 0);
  Write("people.csv", kPeople);
  ASSERT_EQ(Run("import people.mti people.csv").code, 0);
  const std::string before = Run("export people.mti").out;

  Result bad = Run("import people.mti -", "Name,Alter\nNeu,5\nAuch neu,fünf\nNoch,1\n");
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "Row 2, column Alter: 'fünf' ist kein gültiger Integerwert\n");
  Result range = Run("import people.mti -", "Name,Alter\nNeu,151\n");
  EXPECT_EQ(range.code, 1);
  EXPECT_NE(range.err.find("Row 1, column Alter: "), std::string::npos) << range.err;
  Result missing = Run("import people.mti -", "Name,Alter\nNeu,5\n,3\n");
  EXPECT_EQ(missing.err, "Row 2: Das Feld 'Name' muss einen Wert haben\n");
  Result ragged = Run("import people.mti -", "Name,Alter\nNeu\n");
  EXPECT_EQ(ragged.err, "Row 1 has 1 cells, the header names 2\n");
  Result unknown = Run("import people.mti -", "Name,Groesse\nNeu,5\n");
  EXPECT_EQ(unknown.code, 1);
  Result open = Run("import people.mti -", "Name,Notiz\nNeu,\"offen\n");
  EXPECT_EQ(open.code, 1);
  EXPECT_EQ(Run("export people.mti").out, before);
}

TEST_F(MtitoolTest, ExportWithFilterAndLocate) {
  ASSERT_EQ(Run(kCreate).code, 0);
  Write("people.csv", kPeople);
  ASSERT_EQ(Run("import people.mti people.csv").code, 0);
  const std::string header = "Name,Alter,Aktiv,Betrag,Datum,Notiz\r\n";
  const std::string zander = "Zander,7,True,-3,,kurz\r\n";

  Result filtered = Run("export people.mti --filter \"Name = 'Z*' OR Alter = 42\"");
  ASSERT_EQ(filtered.code, 0) << filtered.err;
  EXPECT_EQ(filtered.out,
            header + "Müller,42,True,\"1,5\",01.02.2024,\"zwei\r\nZeilen, mit \"\"Zitat\"\"\"\r\n" + zander);
  EXPECT_EQ(Run("export people.mti --filter \"Name = 'z*'\"").out, header);
  EXPECT_EQ(Run("export people.mti --filter \"Name = 'z*'\" --case-insensitive").out, header + zander);
  EXPECT_EQ(Run("export people.mti --filter \"Name = 'Z*'\" --no-partial-compare").out, header);
  EXPECT_EQ(Run("export people.mti --filter \"Datum >= 01.01.2026\"").out,
            header + "Abel,,False,,24.12.2026 18:30:00,\r\n");
  Result bad = Run("export people.mti --filter \"Name == 'x'\"");
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "Ausdruck erwartet, jedoch '=' vorgefunden\n");
  EXPECT_EQ(Run("export people.mti --filter").code, 2);

  Result found = Run("locate people.mti \"Name;Alter\" \"Zander;7\"");
  EXPECT_EQ(found.code, 0) << found.err;
  EXPECT_EQ(found.out, header + zander);
  Result none = Run("locate people.mti Name zander");
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(none.out, "not found\n");
  EXPECT_EQ(Run("locate people.mti Name zander --case-insensitive").out, header + zander);
  EXPECT_EQ(Run("locate people.mti Name Za --partial-key").out, header + zander);
  EXPECT_EQ(Run("locate people.mti Name Za").code, 1);
  EXPECT_EQ(Run("locate people.mti \"Name;Alter\" Zander").code, 2);
  Result unknown = Run("locate people.mti Groesse 1");
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.err.find("Groesse"), std::string::npos) << unknown.err;
}

// mtitool reads and writes tables without a window: no Qt Widgets or Gui
// among the libraries it needs.
TEST(MtitoolProgram, NeedsNoWidgets) {
  FILE* ldd = popen("ldd '" MTITOOL_PATH "'", "r");
  ASSERT_NE(ldd, nullptr);
  std::string libraries;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, ldd)) > 0;) libraries.append(buffer, n);
  EXPECT_EQ(pclose(ldd), 0) << libraries;
  EXPECT_NE(libraries.find("libQt6Core"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libQt6Widgets"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libQt6Gui"), std::string::npos) << libraries;
}

TEST_F(MtitoolTest, UsageAndFailures) {
  EXPECT_EQ(Run("").code, 2);
  Result unknown = Run("frobnicate x.mti");
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("Usage:"), std::string::npos);
  EXPECT_EQ(Run("create t.mti Name:Q").code, 2);
  EXPECT_EQ(Run("create t.mti Name:S").code, 2);
  EXPECT_EQ(Run("create t.mti Name:S:5 --index I=Nix").code, 2);
  EXPECT_EQ(Run("create t.mti Name:S:5 --default").code, 2);
  EXPECT_EQ(Run("export").code, 2);

  ASSERT_EQ(Run("create t.mti Name:S:5").code, 0);
  Result again = Run("create t.mti Name:S:5");
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
  Result missing = Run("export nix.mti");
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("The table nix.mti cannot be opened - it may be corrupted. Suggest rebuild\n"),
            std::string::npos)
      << missing.err;
  EXPECT_EQ(Run("export t.mti --index Nix").err, "Index name Nix not found.\n");
}

TEST_F(MtitoolTest, VCardAndICalendarInAndOut) {
  setenv("VESK_HOME", folder_.c_str(), 1);
  setenv("TZ", "Europe/Berlin", 1);
  Write("vesktools.ini", "[Alarm]\nVorwarnzeit=30\n");
  ASSERT_EQ(Run("create adr.mti Name:S:40 Vorname:S:40 PLZ:S:10 Stadt:S:40 Strasse:S:50 Telefon1:S:30 "
                "Telefon2:S:30 Fax:S:30 Email:S:80 URL:S:120 Text:M Kategorie:S:30")
                .code,
            0);
  Result imported = Run("import-vcard adr.mti '" EXCHANGE_SAMPLES "/phone_21.vcf'");
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(imported.out, "2 records imported\n");
  Write("halb.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Neu;Nina\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Halb\r\n");
  Result broken = Run("import-vcard adr.mti halb.vcf");
  EXPECT_EQ(broken.code, 1);
  EXPECT_EQ(broken.err, "Zeile 5: die Karte endet nicht mit END:VCARD (Datei abgeschnitten?)\n");
  Result weiss = Run("export-vcard adr.mti --filter \"Name = 'W*'\"");
  ASSERT_EQ(weiss.code, 0) << weiss.err;
  EXPECT_NE(weiss.out.find("\r\nN:Weiß;Bärbel;;;\r\n"), std::string::npos) << weiss.out;
  EXPECT_EQ(weiss.out.find("BEGIN:VCARD", 1), std::string::npos) << weiss.out;
  EXPECT_EQ(Run("export-vcard adr.mti").out.find("Neu"), std::string::npos);

  ASSERT_EQ(Run("create ter.mti Datum:D Ort:S:50 Uhrzeit:D Bemerkung:M --required Datum").code, 0);
  Result events = Run("import-ics ter.mti '" EXCHANGE_SAMPLES "/other_zone.ics'");
  ASSERT_EQ(events.code, 0) << events.err;
  EXPECT_EQ(events.out, "3 records imported\n");
  Result calendar = Run("export-ics ter.mti");
  ASSERT_EQ(calendar.code, 0) << calendar.err;
  EXPECT_NE(calendar.out.find("TRIGGER:-PT30M"), std::string::npos) << calendar.out;
  std::string unfolded = calendar.out;
  for (size_t fold; (fold = unfolded.find("\r\n ")) != std::string::npos;) unfolded.erase(fold, 3);
  EXPECT_NE(unfolded.find("Europe/Berlin:20270115T150000\r\n"), std::string::npos) << calendar.out;
  EXPECT_EQ(Run("export-ics").code, 2);
  EXPECT_EQ(Run("import-ics ter.mti").code, 2);
}

// sync-vcard with the account of the host's INI file: the address book
// found and kept, the cards up, a second run with nothing to do, and the
// message of a refused login.
TEST_F(MtitoolTest, SyncVCardWithTheHostsAccount) {
  vesk::RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddAddressBook("max/kontakte", "Kontakte");
  const std::string home = Path("home");
  std::filesystem::create_directories(home);
  const std::string ini = home + "/vesktools.ini";
  std::ofstream(ini) << "[Abgleich]\nServer=" << server.Url() << "\nBenutzer=max\nPasswort=geheim\n";
  // No session bus (an empty runtime folder, no address): the password
  // stays in the INI file and no secret store is asked.
  const std::string runtime = Path("runtime");
  std::filesystem::create_directories(runtime);
  locale_ = "C VESK_HOME='" + home + "' XDG_RUNTIME_DIR='" + runtime + "' DBUS_SESSION_BUS_ADDRESS=";
  ASSERT_EQ(Run("create adr.mti Name:S:40 Vorname:S:40 PLZ:S:10 Stadt:S:40 Strasse:S:50 Telefon1:S:30 Telefon2:S:30 "
                "Fax:S:30 Email:S:80 URL:S:120 Text:M Kategorie:S:30 Tarifzone1:S:30 Tarifzone2:S:30")
                .code,
            0);
  ASSERT_EQ(Run("import-vcard adr.mti '" EXCHANGE_SAMPLES "/webmail_30.vcf'").code, 0);
  Result first = Run("sync-vcard adr.mti");
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.out, "Adressen abgeglichen: 1 neu, 0 geändert, 0 gelöscht\n");
  EXPECT_NE(Read(ini).find("Adressbuch=" + server.Url("/max/kontakte/")), std::string::npos) << Read(ini);
  EXPECT_EQ(Run("sync-vcard adr.mti").out, "Adressen abgeglichen: 0 neu, 0 geändert, 0 gelöscht\n");

  std::ofstream(ini) << "[Abgleich]\nServer=" << server.Url() << "\nBenutzer=max\nPasswort=falsch\n"
                     << "Adressbuch=" << server.Url("/max/kontakte/") << "\n";
  Result refused = Run("sync-vcard adr.mti");
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("Anmeldung abgelehnt"), std::string::npos) << refused.err;
}

// sync-ics of the program folder's appointments: the calendar found and
// kept, an appointment made on the server for today comes in and reaches
// the reminder list; a table elsewhere leaves the list alone.
TEST_F(MtitoolTest, SyncIcsFeedsTheReminderList) {
  vesk::RadicaleServer server;
  ASSERT_TRUE(server.Listening()) << server.Log();
  server.AddCalendar("max/termine", "Termine", "VEVENT");
  const std::string home = Path("home");
  std::filesystem::create_directories(home + "/Data");
  const std::string ini = home + "/vesktools.ini";
  std::ofstream(ini) << "[Abgleich]\nServer=" << server.Url() << "\nBenutzer=max\nPasswort=geheim\n";
  const std::string runtime = Path("runtime");
  std::filesystem::create_directories(runtime);
  locale_ = "C TZ=Europe/Berlin VESK_HOME='" + home + "' XDG_RUNTIME_DIR='" + runtime + "' DBUS_SESSION_BUS_ADDRESS=";
  const std::string create =
      " Datum:D Ort:S:50 Uhrzeit:D Bemerkung:M --required Datum --index 'DatumUhrzeit=Datum;Uhrzeit'";
  ASSERT_EQ(Run("create '" + home + "/Data/termine.mti'" + create).code, 0);
  ASSERT_EQ(Run("create anders.mti" + create).code, 0);
  // In two hours, on the server's own clock of UTC.
  const QDateTime soon = QDateTime::currentDateTimeUtc().addSecs(2 * 3600);
  const std::string day = soon.toString("yyyyMMdd").toStdString(), time = soon.toString("HHmm").toStdString();
  std::ofstream(server.Storage("max/termine") + "/bald.ics")
      << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:bald@phone\r\n"
      << "DTSTAMP:20261201T100000Z\r\nDTSTART:" << day << "T" << time << "00Z\r\nSUMMARY:Anruf beim Amt\r\n"
      << "END:VEVENT\r\nEND:VCALENDAR\r\n";
  Result other = Run("sync-ics anders.mti");
  ASSERT_EQ(other.code, 0) << other.err;
  EXPECT_EQ(other.out, "Termine abgeglichen: 1 neu, 0 geändert, 0 gelöscht\n");
  EXPECT_FALSE(std::filesystem::exists(home + "/termine.sav"));
  EXPECT_NE(Read(ini).find("Kalender=" + server.Url("/max/termine/")), std::string::npos) << Read(ini);

  Result mine = Run("sync-ics '" + home + "/Data/termine.mti'");
  ASSERT_EQ(mine.code, 0) << mine.err;
  EXPECT_EQ(mine.out, "Termine abgeglichen: 1 neu, 0 geändert, 0 gelöscht\n");
  // The list in the C locale's short formats: the day of the appointment
  // on the clock here, and its time.
  const QDateTime local = soon.toTimeZone(QTimeZone("Europe/Berlin"));
  const std::string list = Read(home + "/termine.sav");
  EXPECT_NE(list.find(local.toString("HH:mm").toStdString()), std::string::npos) << list;
  EXPECT_EQ(Run("sync-ics").code, 2);
}

}  // namespace
