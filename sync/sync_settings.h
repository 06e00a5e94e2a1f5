// The account of the address book sync as the host's INI file keeps it:
// section "Abgleich", keys "Server" (what the user typed), "Benutzer", the
// password through password_store.h (the desktop's secret store, or key
// "Passwort" in the file made readable by the user alone, as the
// telephone's), "Adressbuch" (the URL discovery found), "Intervall" (minutes,
// 0: only by hand) and "Zertifikat" (the SHA-256 fingerprint trusted).
#pragma once

#include <string>

#include "sync/dav_client.h"

namespace vesk {

inline constexpr char kSyncSection[] = "Abgleich";
inline constexpr char kAddressBookKey[] = "Adressbuch";
inline constexpr int kDefaultSyncMinutes = 15;

struct SyncSettings {
  std::string server;  // as the user typed it
  DavAccount account;  // with the server as a URL
  std::string book;    // "" until discovery found it
  int intervalMinutes = kDefaultSyncMinutes;
};

SyncSettings ReadSyncSettings(const std::string& iniFile);
// False when the file or the secret store could not be written.
bool WriteSyncSettings(const std::string& iniFile, const SyncSettings& settings);

}  // namespace vesk
