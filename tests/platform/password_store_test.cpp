#include "platform/password_store.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cstring>
#include <fstream>

#include "platform/ini_file.h"
#include "platform/secret_store.h"
#include "runtime/file_io.h"
#include "runtime/unique_fd.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

mode_t Mode(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A listening socket at path, as a bus daemon has one.
UniqueFd Listen(const std::string& path) {
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  EXPECT_EQ(bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0) << path;
  EXPECT_EQ(listen(fd.Get(), 1), 0);
  return fd;
}

TEST(PasswordStore, ASessionBusIsTheAddressOrTheRuntimeFoldersSocket) {
  TempFolder withSocket;
  UniqueFd bus = Listen(withSocket.File("bus"));
  TempFolder withFile;
  std::ofstream(withFile.File("bus")) << "";
  TempFolder empty;
  struct Case {
    std::optional<std::string> address;
    std::optional<std::string> runtime;
    bool present;
  } const cases[] = {
      {"unix:path=/nonexistent/bus", empty.Path(), true},
      {std::nullopt, withSocket.Path(), true},
      {"", withSocket.Path(), true},
      {"", empty.Path(), false},
      {std::nullopt, withFile.Path(), false},
      {std::nullopt, std::nullopt, false},
      // A relative runtime folder is no runtime folder.
      {std::nullopt, std::filesystem::relative(withSocket.Path()).string(), false},
  };
  for (const Case& test : cases) {
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", test.address);
    ScopedEnv runtime("XDG_RUNTIME_DIR", test.runtime);
    EXPECT_EQ(SessionBusPresent(), test.present)
        << test.address.value_or("(unset)") << " " << test.runtime.value_or("(unset)");
  }
}

// No session bus: the INI file keeps the passwords, and no store is asked.
class PasswordWithoutStoreTest : public testing::Test {
 protected:
  TempFolder runtime_;
  ScopedEnv address_{"DBUS_SESSION_BUS_ADDRESS", std::nullopt};
  ScopedEnv runtimeFolder_{"XDG_RUNTIME_DIR", runtime_.Path()};
  TempFolder folder_;
  std::string ini_ = folder_.File("vesktools.ini");
};

TEST_F(PasswordWithoutStoreTest, KeptInTheIniFileAsTypedForTheUserAlone) {
  ASSERT_FALSE(SessionBusPresent());
  ASSERT_TRUE(WriteFileAtomically(ini_, "[Abgleich]\nServer=https://dav.example\n[Alarm]\nVorwarnzeit=30\n"));
  ASSERT_EQ(chmod(ini_.c_str(), 0644), 0);
  for (const std::string password : {" geheim ", "\"zitiert\"", "\"", "\"\"", "  \" beides ;= \"  ", "ä ö ü", ""}) {
    ASSERT_TRUE(WritePassword(ini_, "Abgleich", password)) << password;
    EXPECT_EQ(Mode(ini_), 0600u) << password;
    EXPECT_EQ(ReadPassword(ini_, "Abgleich"), password);
  }
  EXPECT_EQ(ReadPassword(ini_, " abgleich "), "") << "the section compares as the INI file's names do";
  EXPECT_EQ(ProfileReadString(ini_, "Abgleich", "Server", ""), "https://dav.example");
  EXPECT_EQ(ProfileReadString(ini_, "Alarm", "Vorwarnzeit", ""), "30");

  // Without a store a password typed into the file stays there.
  ASSERT_TRUE(WriteFileAtomically(ini_, "[Telefon]\nPasswort = von Hand \n"));
  EXPECT_EQ(ReadPassword(ini_, "Telefon"), "von Hand");
  EXPECT_EQ(ReadFile(ini_), "[Telefon]\nPasswort = von Hand \n");
  EXPECT_EQ(ReadPassword(ini_, "Abgleich"), "");
}

TEST_F(PasswordWithoutStoreTest, WhatTheFileCannotHoldFails) {
  const std::string fresh = folder_.File("neu.ini");
  ASSERT_TRUE(WritePassword(fresh, "Telefon", "geheim"));
  EXPECT_EQ(Mode(fresh), 0600u);
  EXPECT_FALSE(WritePassword(fresh, "Telefon", "zwei\nZeilen"));
  EXPECT_EQ(ReadPassword(fresh, "Telefon"), "geheim");
  EXPECT_FALSE(WritePassword(folder_.File("fehlt/x.ini"), "Telefon", "geheim"));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("fehlt")));
}

}  // namespace
}  // namespace vesk
