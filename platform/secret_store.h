// The desktop's secret store: the Secret Service on the session bus, reached
// through libsecret. Each password is kept for one section of one INI file,
// found by the file's absolute path and the section's name, so that two
// program folders on one machine keep passwords of their own. Without a
// session bus nothing is asked (GLib would start a bus of its own); any
// answer other than success (no Secret Service, a locked or refused store)
// counts as no store. A call waits at most libsecret's D-Bus timeout.
#pragma once

#include <optional>
#include <string>

namespace vesk {

// A session bus is there: DBUS_SESSION_BUS_ADDRESS is set or
// $XDG_RUNTIME_DIR/bus exists.
bool SessionBusPresent();
// The password kept for section of iniFile, "" when none is kept; nullopt
// when no store answered.
std::optional<std::string> LookupSecret(const std::string& iniFile, const std::string& section);
// False when no store took the password.
bool StoreSecret(const std::string& iniFile, const std::string& section, const std::string& password);
// Removes what is kept for section of iniFile; true also when nothing was.
// False when no store answered.
bool ClearSecret(const std::string& iniFile, const std::string& section);

}  // namespace vesk
