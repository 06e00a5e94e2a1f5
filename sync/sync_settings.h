// The account of the sync with the server as the host's INI file keeps it:
// section "Abgleich", keys "Server" (what the user typed), "Benutzer", the
// password through password_store.h (the desktop's secret store, or key
// "Passwort" in the file made readable by the user alone, as the
// telephone's), "Adressbuch" (the URL discovery found), "Intervall" (minutes,
// 0: only by hand), "Zertifikat" (the SHA-256 fingerprint trusted) and
// "Kalender" (the URL of the calendar chosen for the appointments).
#pragma once

#include <string>

#include "sync/dav_client.h"

namespace vesk {

inline constexpr char kSyncSection[] = "Abgleich";
inline constexpr char kAddressBookKey[] = "Adressbuch";
inline constexpr char kCalendarKey[] = "Kalender";
inline constexpr int kDefaultSyncMinutes = 15;

struct SyncSettings {
  std::string server;    // as the user typed it
  DavAccount account;    // with the server as a URL
  std::string book;      // "" until discovery found it
  std::string calendar;  // the calendar of the appointments, "" while none is chosen
  int intervalMinutes = kDefaultSyncMinutes;
};

SyncSettings ReadSyncSettings(const std::string& iniFile);
// False when the file or the secret store could not be written.
bool WriteSyncSettings(const std::string& iniFile, const SyncSettings& settings);

}  // namespace vesk
