#include "sync/sync_settings.h"

#include <utility>

#include "platform/ini_file.h"
#include "platform/password_store.h"
#include "runtime/conversions.h"
#include "sync/collection_discovery.h"

namespace vesk {
namespace {

constexpr char kServer[] = "Server";
constexpr char kUser[] = "Benutzer";
constexpr char kInterval[] = "Intervall";
constexpr char kCertificate[] = "Zertifikat";

}  // namespace

SyncSettings ReadSyncSettings(const std::string& iniFile) {
  auto read = [&](const char* key) { return ProfileReadString(iniFile, kSyncSection, key, ""); };
  SyncSettings settings;
  settings.server = Trim(read(kServer));
  if (!settings.server.empty()) settings.account.server = ServerUrl(settings.server);
  settings.account.user = read(kUser);
  settings.account.password = ReadPassword(iniFile, kSyncSection);
  settings.account.trustedCertificate = read(kCertificate);
  settings.book = read(kAddressBookKey);
  settings.calendar = read(kCalendarKey);
  int minutes = 0;
  if (TryStrToInt(read(kInterval), minutes) && minutes >= 0) settings.intervalMinutes = minutes;
  return settings;
}

bool WriteSyncSettings(const std::string& iniFile, const SyncSettings& settings) {
  const std::pair<const char*, std::string> values[] = {{kServer, settings.server},
                                                        {kUser, settings.account.user},
                                                        {kAddressBookKey, settings.book},
                                                        {kCalendarKey, settings.calendar},
                                                        {kInterval, std::to_string(settings.intervalMinutes)},
                                                        {kCertificate, settings.account.trustedCertificate}};
  // The password first: without a secret store it makes the file private.
  if (!WritePassword(iniFile, kSyncSection, settings.account.password)) return false;
  for (const auto& [key, value] : values)
    if (!ProfileWriteString(iniFile, kSyncSection, key, value)) return false;
  return true;
}

}  // namespace vesk
