// The passwords of the host's accounts (the telephone's, the sync's): each
// kept for one section of the host's INI file, in the desktop's secret store
// when one runs, otherwise under the section's key "Passwort" in the INI
// file, which is then readable by the user alone.
#pragma once

#include <string>

namespace vesk {

// The password of section in iniFile: from the secret store when one runs
// (a password still in the INI file is moved there and removed from the file),
// otherwise the INI file's key "Passwort".
std::string ReadPassword(const std::string& iniFile, const std::string& section);
// Into the secret store when one runs, the INI file then holding none;
// otherwise into the INI file, made readable by the user alone (0600) first.
// False when neither could be written.
bool WritePassword(const std::string& iniFile, const std::string& section, const std::string& password);

}  // namespace vesk
