#include "platform/password_store.h"

#include <optional>

#include "platform/ini_file.h"
#include "platform/secret_store.h"

namespace vesk {
namespace {

constexpr const char* kPasswordKey = "Passwort";

}  // namespace

std::string ReadPassword(const std::string& iniFile, const std::string& section) {
  const std::string inFile = ProfileReadString(iniFile, section, kPasswordKey, "");
  if (inFile.empty()) return LookupSecret(iniFile, section).value_or("");
  // Left there by a run without a store, or typed in by hand: it replaces
  // what the store kept.
  if (StoreSecret(iniFile, section, inFile)) ProfileDeleteKey(iniFile, section, kPasswordKey);
  return inFile;
}

bool WritePassword(const std::string& iniFile, const std::string& section, const std::string& password) {
  const bool kept = password.empty() ? ClearSecret(iniFile, section) : StoreSecret(iniFile, section, password);
  if (kept) return ProfileDeleteKey(iniFile, section, kPasswordKey);
  // Read back without the blanks and one pair of quotes around the value:
  // the quotes keep the password's own blanks and quotes.
  return ProfileMakePrivate(iniFile) && ProfileWriteString(iniFile, section, kPasswordKey, '"' + password + '"');
}

}  // namespace vesk
