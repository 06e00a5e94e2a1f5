// The account of the address book sync as the host's INI file keeps it:
// section "Abgleich", keys "Server" (what the user typed), "Benutzer",
// "Passwort" (the file readable by the user alone, as the telephone's
// password), "Adressbuch" (the URL discovery found), "Intervall" (minutes,
// 0: only by hand) and "Zertifikat" (the SHA-256 fingerprint trusted).
#pragma once

#include <string>

#include "sync/dav_client.h"

namespace vesk {

inline constexpr char kSyncSection[] = "Abgleich";
inline constexpr char kAddressBookKey[] = "Adressbuch";
inline constexpr int kDefaultSyncMinutes = 15;

struct SyncSettings {
  DavAccount account;
  std::string book;  // "" until discovery found it
  int intervalMinutes = kDefaultSyncMinutes;
};

SyncSettings ReadSyncSettings(const std::string& iniFile);

}  // namespace vesk
