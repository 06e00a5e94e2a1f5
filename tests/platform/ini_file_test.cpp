#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(IniFile, ReadFindsNamesWithoutCaseAndTrimsBlanks) {
  TempFolder temp;
  std::string ini = temp.File("a.ini");
  Put(ini,
      "\xEF\xBB\xBF[Alarm]\r\n"
      "; Vorwarnzeit=1\r\n"
      "  Vorwarnzeit  =  30 \t\r\n"
      "vorwarnzeit=99\r\n"
      "ohne Gleichheitszeichen\r\n"
      "Pfad=a=b\r\n"
      "[ Tarifzone ]\n"
      "0=Zone A\n"
      "[alarm]\n"
      "Alarmwiederholung=7\n");
  EXPECT_EQ(ProfileReadString(ini, "ALARM", "VORWARNZEIT", "-"), "30");
  EXPECT_EQ(ProfileReadString(ini, " alarm ", " vorwarnzeit ", "-"), "30");
  EXPECT_EQ(ProfileReadString(ini, "Alarm", "Pfad", "-"), "a=b");
  EXPECT_EQ(ProfileReadString(ini, "Tarifzone", "0", "-"), "Zone A");
  // Only the first section of a name counts, comments and plain lines are no keys.
  EXPECT_EQ(ProfileReadString(ini, "Alarm", "Alarmwiederholung", "10"), "10");
  EXPECT_EQ(ProfileReadString(ini, "Alarm", "; Vorwarnzeit", "-"), "-");
  EXPECT_EQ(ProfileReadString(ini, "Alarm", "ohne Gleichheitszeichen", "-"), "-");
  EXPECT_EQ(ProfileReadString(ini, "Fehlt", "Vorwarnzeit", "-"), "-");
  EXPECT_EQ(ProfileReadString(temp.File("fehlt.ini"), "Alarm", "Vorwarnzeit", "120"), "120");

  EXPECT_EQ(ProfileReadSection(ini, "alarm"), (Pairs{{"Vorwarnzeit", "30"}, {"Pfad", "a=b"}}));
  EXPECT_EQ(ProfileReadSection(ini, "TARIFZONE"), (Pairs{{"0", "Zone A"}}));
  EXPECT_TRUE(ProfileReadSection(ini, "Fehlt").empty());
  EXPECT_TRUE(ProfileReadSection(temp.File("fehlt.ini"), "Alarm").empty());
}

TEST(IniFile, ReadSectionKeepsFileOrderAndEmptyValues) {
  TempFolder temp;
  std::string ini = temp.File("termine.sav");
  Put(ini, "[08.12.2026]\n2=10:15:00\n0=09:00:00\nleer=\n1=14:30:00\n0=23:00:00\n[09.12.2026]\n3=08:00:00");
  EXPECT_EQ(ProfileReadSection(ini, "08.12.2026"),
            (Pairs{{"2", "10:15:00"}, {"0", "09:00:00"}, {"leer", ""}, {"1", "14:30:00"}}));
  EXPECT_EQ(ProfileReadSection(ini, "09.12.2026"), (Pairs{{"3", "08:00:00"}}));
}

// A hand-edited value in double quotes reads as what is inside them; only
// one pair, and only a pair, is taken off.
TEST(IniFile, ReadTakesOffOnePairOfDoubleQuotes) {
  TempFolder temp;
  std::string ini = temp.File("termine.sav");
  Put(ini, "[08.12.2026]\n0=\"09:00:00\"\n1= \"14:30:00\" \n2=\"\"x\"\"\n3=\"\n4=\"x\n5='x'\n6=\"\"\n7=a\"b\"\n");
  EXPECT_EQ(ProfileReadString(ini, "08.12.2026", "0", "-"), "09:00:00");
  EXPECT_EQ(ProfileReadString(ini, "08.12.2026", "1", "-"), "14:30:00");
  EXPECT_EQ(ProfileReadSection(ini, "08.12.2026"), (Pairs{{"0", "09:00:00"},
                                                          {"1", "14:30:00"},
                                                          {"2", "\"x\""},
                                                          {"3", "\""},
                                                          {"4", "\"x"},
                                                          {"5", "'x'"},
                                                          {"6", ""},
                                                          {"7", "a\"b\""}}));
}

TEST(IniFile, WriteCreatesFileAndSections) {
  TempFolder temp;
  std::string ini = temp.File("termine.sav");
  ASSERT_TRUE(ProfileWriteString(ini, "08.12.2026", "0", "09:00:00"));
  ASSERT_TRUE(ProfileWriteString(ini, "08.12.2026", "1", "14:30:00"));
  ASSERT_TRUE(ProfileWriteString(ini, "09.12.2026", "2", "10:15:00"));
  EXPECT_EQ(Get(ini),
            "[08.12.2026]\n0=09:00:00\n1=14:30:00\n"
            "[09.12.2026]\n2=10:15:00\n");
  EXPECT_EQ(ProfileReadString(ini, "09.12.2026", "2", ""), "10:15:00");
}

TEST(IniFile, WriteChangesOnlyTheKeysLine) {
  TempFolder temp;
  std::string ini = temp.File("host.ini");
  std::string before =
      "; Einstellungen\r\n"
      "\r\n"
      "[Alarm]\r\n"
      "VorWarnZeit = 120\r\n"
      "Notiz ohne Wert\r\n"
      "\r\n"
      "[Tarifzone]\r\n"
      "0=Zone A";
  Put(ini, before);
  ASSERT_TRUE(ProfileWriteString(ini, "alarm", "vorwarnzeit", "-5"));
  std::string replaced = before;
  replaced.replace(replaced.find("120"), 3, "-5");
  EXPECT_EQ(Get(ini), replaced) << "replaced in place, spelling and spacing kept";

  ASSERT_TRUE(ProfileWriteString(ini, "Alarm", "Alarmwiederholung", "10"));
  std::string appended = replaced;
  appended.insert(appended.find("\r\n\r\n[Tarifzone]") + 2, "Alarmwiederholung=10\r\n");
  EXPECT_EQ(Get(ini), appended) << "appended after the section's last line, before the blank";

  ASSERT_TRUE(ProfileWriteString(ini, "Tarifzone", "1", "Zone B"));
  EXPECT_EQ(Get(ini), appended + "\r\n1=Zone B\r\n") << "the last line gets its line end";
  ASSERT_TRUE(ProfileWriteString(ini, "Neu", "k", " v "));
  EXPECT_EQ(Get(ini), appended + "\r\n1=Zone B\r\n[Neu]\r\nk= v \r\n");
  EXPECT_EQ(ProfileReadString(ini, "Neu", "k", ""), "v");
}

TEST(IniFile, BytesAreKeptAsTheyAre) {
  TempFolder temp;
  std::string ini = temp.File("bytes.ini");
  std::string latin1 =
      "[Stra\xDF"
      "e]\nName=M\xFCller\n";
  Put(ini, latin1);
  ASSERT_TRUE(ProfileWriteString(ini, "Ort", "Stadt", "K\xC3\xB6ln \xE2\x82\xAC"));
  EXPECT_EQ(Get(ini), latin1 + "[Ort]\nStadt=K\xC3\xB6ln \xE2\x82\xAC\n");
  EXPECT_EQ(ProfileReadString(ini,
                              "Stra\xDF"
                              "e",
                              "Name", ""),
            "M\xFCller");
  // ASCII case only: bytes above 127 must match exactly.
  EXPECT_EQ(ProfileReadString(ini,
                              "STRA\xDF"
                              "E",
                              "NAME", "-"),
            "M\xFCller");
  EXPECT_EQ(ProfileReadString(ini,
                              "Stra\xC3\x9F"
                              "e",
                              "Name", "-"),
            "-");
}

TEST(IniFile, WriteRefusesWhatWouldReadBackAsSomethingElse) {
  TempFolder temp;
  std::string ini = temp.File("a.ini");
  std::string before = "[Alarm]\nVorwarnzeit=120\n";
  Put(ini, before);
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "Vorwarnzeit", "1\n[Alarm]"));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "Vorwarnzeit", "1\r2"));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "Vorwarnzeit",
                                  std::string("1\0"
                                              "2",
                                              3)));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "a=b", "1"));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "  ", "1"));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", ";k", "1"));
  EXPECT_FALSE(ProfileWriteString(ini, "Alarm", "[k]", "1"));
  EXPECT_FALSE(ProfileWriteString(ini, "A]B", "k", "1"));
  EXPECT_FALSE(ProfileWriteString(ini, "A\nB", "k", "1"));
  EXPECT_EQ(Get(ini), before);
}

TEST(IniFile, DeleteRemovesTheKeysLineAlone) {
  TempFolder temp;
  const std::string path = temp.File("a.ini");
  const std::string text =
      "; Kopf\r\n[Telefon]\r\nBenutzer=620\r\n  passwort = x \r\nPasswort=zweites\r\n"
      "[Abgleich]\r\nPasswort=y";
  struct Case {
    const char* section;
    const char* key;
    std::string after;
  } const cases[] = {
      {" telefon ", "PASSWORT", "; Kopf\r\n[Telefon]\r\nBenutzer=620\r\nPasswort=zweites\r\n[Abgleich]\r\nPasswort=y"},
      {"Abgleich", "Passwort",
       "; Kopf\r\n[Telefon]\r\nBenutzer=620\r\n  passwort = x \r\nPasswort=zweites\r\n"
       "[Abgleich]\r\n"},
      {"Telefon", "Server", text},
      {"Alarm", "Passwort", text},
  };
  for (const Case& test : cases) {
    Put(path, text);
    EXPECT_TRUE(ProfileDeleteKey(path, test.section, test.key)) << test.section << " " << test.key;
    EXPECT_EQ(Get(path), test.after) << test.section << " " << test.key;
  }
  EXPECT_TRUE(ProfileDeleteKey(temp.File("fehlt.ini"), "Telefon", "Passwort"));
  EXPECT_FALSE(std::filesystem::exists(temp.File("fehlt.ini")));
  std::filesystem::create_directory(temp.File("ordner.ini"));
  EXPECT_FALSE(ProfileDeleteKey(temp.File("ordner.ini"), "Telefon", "Passwort"));
}

TEST(IniFile, WriteFailsWithoutHarm) {
  TempFolder temp;
  EXPECT_FALSE(ProfileWriteString(temp.File("fehlt/a.ini"), "Alarm", "k", "1"));
  EXPECT_FALSE(std::filesystem::exists(temp.File("fehlt")));
  // A path that exists but cannot be read is not replaced.
  std::filesystem::create_directory(temp.File("ordner.ini"));
  EXPECT_FALSE(ProfileWriteString(temp.File("ordner.ini"), "Alarm", "k", "1"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.File("ordner.ini")));
  EXPECT_EQ(ProfileReadString(temp.File("ordner.ini"), "Alarm", "k", "-"), "-");
}

}  // namespace
}  // namespace vesk
