#include "platform/telephony/sip_account.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/ini_file.h"
#include "runtime/file_io.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

mode_t Mode(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(SipAccountTest, MissingKeysKeepTheirDefaultsAndOddValuesAreMended) {
  TempFolder folder;
  const std::string ini = folder.File("vesktools.ini");
  const SipAccount none = ReadSipAccount(ini);
  EXPECT_EQ(none, SipAccount{});
  EXPECT_FALSE(none.Complete());
  EXPECT_TRUE(none.registerFirst);
  EXPECT_EQ(none.transport, "udp");

  ASSERT_TRUE(WriteFileAtomically(ini, "[Telefon]\nIdentitaet=sip:max@fritz.box\nTransport=TCP\nRegistrieren= 0 \n"));
  SipAccount partial = ReadSipAccount(ini);
  EXPECT_EQ(partial.transport, "tcp");
  EXPECT_FALSE(partial.registerFirst);
  EXPECT_FALSE(partial.Complete()) << "a registrar is needed too";

  ASSERT_TRUE(ProfileWriteString(ini, "Telefon", "Transport", "sctp"));
  ASSERT_TRUE(ProfileWriteString(ini, "Telefon", "Registrieren", "ja"));
  ASSERT_TRUE(ProfileWriteString(ini, "Telefon", "Registrar", "sip:fritz.box:5060"));
  partial = ReadSipAccount(ini);
  EXPECT_EQ(partial.transport, "udp");
  EXPECT_TRUE(partial.registerFirst);
  EXPECT_TRUE(partial.Complete());
}

TEST(SipAccountTest, WritingKeepsTheFileForItsOwnerAndTheOtherSections) {
  TempFolder folder;
  const std::string ini = folder.File("vesktools.ini");
  ASSERT_TRUE(WriteFileAtomically(ini, "[Alarm]\nVorwarnzeit=30\n"));
  ASSERT_EQ(chmod(ini.c_str(), 0644), 0);

  const SipAccount account{"sip:max@fritz.box",
                           "sip:fritz.box",
                           "620",
                           " \"geheim;=\" ",
                           "tls",
                           "sip:proxy.example:5061",
                           false,
                           "ALSA Unknown: USB Audio [hw:1,0] ",
                           "PulseAudio Unknown: \"Boxen\""};
  ASSERT_TRUE(WriteSipAccount(ini, account));
  EXPECT_EQ(Mode(ini), 0600u);
  EXPECT_EQ(ReadSipAccount(ini).password, " \"geheim;=\" ");
  EXPECT_EQ(ReadSipAccount(ini), account);
  EXPECT_EQ(ProfileReadString(ini, "Alarm", "Vorwarnzeit", ""), "30");

  const std::string fresh = folder.File("neu.ini");
  ASSERT_TRUE(WriteSipAccount(fresh, account));
  EXPECT_EQ(Mode(fresh), 0600u);

  // A password that would break the file's lines is not written.
  SipAccount broken = account;
  broken.password = "zwei\nZeilen";
  EXPECT_FALSE(WriteSipAccount(fresh, broken));
  EXPECT_FALSE(WriteSipAccount(folder.File("fehlt/x.ini"), account));
}

}  // namespace
}  // namespace vesk
