// The passwords in a Secret Service: run by tests/support/run-with-keyring
// inside a session bus of its own with an unlocked gnome-keyring.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/ini_file.h"
#include "platform/password_store.h"
#include "platform/secret_store.h"
#include "platform/telephony/sip_account.h"
#include "runtime/file_io.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

bool HasPasswordKey(const std::string& ini, const std::string& section) {
  for (const auto& [key, value] : ProfileReadSection(ini, section)) {
    if (key == "Passwort") return true;
  }
  return false;
}

class SecretStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SessionBusPresent()) << "runs under tests/support/run-with-keyring";
    ASSERT_TRUE(LookupSecret(folder_.File("probe.ini"), "Telefon").has_value()) << "no Secret Service answered";
  }

  TempFolder folder_;
};

TEST_F(SecretStoreTest, WrittenToTheStoreTheIniFileHoldingNone) {
  const std::string ini = folder_.File("vesktools.ini");
  ASSERT_TRUE(WriteFileAtomically(ini, "[Abgleich]\nServer=https://dav.example\nPasswort=alt\nBenutzer=max\n"));
  // The store keeps also what no INI line could hold.
  for (const std::string password : {" geheim ", "\"zitiert\" und ;=", "zwei\nZeilen", "ä ö ü"}) {
    ASSERT_TRUE(WritePassword(ini, "Abgleich", password)) << password;
    EXPECT_FALSE(HasPasswordKey(ini, "Abgleich")) << ReadFile(ini).value_or("");
    EXPECT_EQ(LookupSecret(ini, "Abgleich"), password);
    EXPECT_EQ(ReadPassword(ini, "Abgleich"), password);
  }
  EXPECT_EQ(ReadFile(ini), "[Abgleich]\nServer=https://dav.example\nBenutzer=max\n");

  // An empty password is none: the store forgets the old one.
  ASSERT_TRUE(WritePassword(ini, "Abgleich", ""));
  EXPECT_EQ(LookupSecret(ini, "Abgleich"), "");
  EXPECT_EQ(ReadPassword(ini, "Abgleich"), "");
  EXPECT_FALSE(HasPasswordKey(ini, "Abgleich"));
}

TEST_F(SecretStoreTest, APasswordInTheIniFileIsMovedIntoTheStore) {
  const std::string ini = folder_.File("vesktools.ini");
  ASSERT_TRUE(StoreSecret(ini, "Telefon", "älter"));
  ASSERT_TRUE(WriteFileAtomically(ini, "[Telefon]\nBenutzer=620\nPasswort=\" von Hand \"\n[Alarm]\nPasswort=x\n"));
  EXPECT_EQ(ReadPassword(ini, "Telefon"), " von Hand ");
  EXPECT_EQ(ReadFile(ini), "[Telefon]\nBenutzer=620\n[Alarm]\nPasswort=x\n");
  EXPECT_EQ(LookupSecret(ini, "Telefon"), " von Hand ");
  EXPECT_EQ(ReadPassword(ini, "Telefon"), " von Hand ");
}

TEST_F(SecretStoreTest, EachIniFileAndSectionKeepsItsOwnPassword) {
  const std::string first = folder_.File("eins/vesktools.ini");
  const std::string second = folder_.File("zwei/vesktools.ini");
  std::filesystem::create_directories(folder_.File("eins"));
  std::filesystem::create_directories(folder_.File("zwei"));
  ASSERT_TRUE(WritePassword(first, "Telefon", "erstes"));
  ASSERT_TRUE(WritePassword(second, "Telefon", "zweites"));
  ASSERT_TRUE(WritePassword(first, "Abgleich", "drittes"));
  EXPECT_EQ(ReadPassword(first, "Telefon"), "erstes");
  EXPECT_EQ(ReadPassword(second, "Telefon"), "zweites");
  EXPECT_EQ(ReadPassword(first, "Abgleich"), "drittes");
  EXPECT_EQ(ReadPassword(second, "Abgleich"), "");
  // The same file and section however they are spelt.
  EXPECT_EQ(ReadPassword(folder_.File("zwei/../eins/./vesktools.ini"), " TELEFON "), "erstes");

  ASSERT_TRUE(WritePassword(first, "Telefon", ""));
  EXPECT_EQ(ReadPassword(first, "Telefon"), "");
  EXPECT_EQ(ReadPassword(second, "Telefon"), "zweites");
  EXPECT_EQ(ReadPassword(first, "Abgleich"), "drittes");
}

TEST_F(SecretStoreTest, TheSipAccountKeepsItsPasswordInTheStore) {
  const std::string ini = folder_.File("vesktools.ini");
  const SipAccount account{"sip:max@fritz.box", "sip:fritz.box", "620", " \"geheim;=\" ", "tcp", "", true, "", ""};
  ASSERT_TRUE(WriteSipAccount(ini, account));
  EXPECT_EQ(ReadSipAccount(ini), account);
  EXPECT_FALSE(HasPasswordKey(ini, kTelephoneSection)) << ReadFile(ini).value_or("");
  EXPECT_EQ(ProfileReadString(ini, kTelephoneSection, "Benutzer", ""), "620");
  EXPECT_EQ(LookupSecret(ini, kTelephoneSection), account.password);
  struct stat info {};
  ASSERT_EQ(stat(ini.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace vesk
