#include "sync/sync_settings.h"

#include "platform/ini_file.h"
#include "platform/password_store.h"
#include "runtime/conversions.h"
#include "sync/address_book_discovery.h"

namespace vesk {

SyncSettings ReadSyncSettings(const std::string& iniFile) {
  auto read = [&](const char* key) { return ProfileReadString(iniFile, kSyncSection, key, ""); };
  SyncSettings settings;
  const std::string server = read("Server");
  if (!server.empty()) settings.account.server = ServerUrl(server);
  settings.account.user = read("Benutzer");
  settings.account.password = ReadPassword(iniFile, kSyncSection);
  settings.account.trustedCertificate = read("Zertifikat");
  settings.book = read(kAddressBookKey);
  int minutes = 0;
  if (TryStrToInt(read("Intervall"), minutes) && minutes >= 0) settings.intervalMinutes = minutes;
  return settings;
}

}  // namespace vesk
