#include "platform/secret_store.h"

#include <libsecret/secret.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/conversions.h"

namespace vesk {
namespace {

// Items of other programs never match: libsecret looks for the schema's
// name too. Made once, kept for the process.
const SecretSchema* Schema() {
  static const SecretSchema* const schema =
      secret_schema_new("de.vesk.Tools.Passwort", SECRET_SCHEMA_NONE, "datei", SECRET_SCHEMA_ATTRIBUTE_STRING,
                        "abschnitt", SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr);
  return schema;
}

// The file as one name however it is given: absolute, its links followed,
// without "." and "..".
std::string AbsolutePath(const std::string& file) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(file, error);
  if (error) path = file;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return (error ? path.lexically_normal() : resolved).string();
}

// The attributes of one password: the file's absolute path, the section as
// the INI file compares it (without case and blanks around it).
struct Attributes {
  Attributes(const std::string& iniFile, const std::string& section)
      : file(AbsolutePath(iniFile)), name(LowerCase(Trim(section))) {}
  std::string file;
  std::string name;
};

// True when there was no error; the error is freed.
bool Succeeded(GError* error) {
  if (error == nullptr) return true;
  g_error_free(error);
  return false;
}

}  // namespace

bool SessionBusPresent() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime != '/') return false;
  struct stat info {};
  return stat((std::string(runtime) + "/bus").c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::optional<std::string> LookupSecret(const std::string& iniFile, const std::string& section) {
  if (!SessionBusPresent()) return std::nullopt;
  const Attributes key(iniFile, section);
  GError* error = nullptr;
  gchar* password = secret_password_lookup_sync(Schema(), nullptr, &error, "datei", key.file.c_str(), "abschnitt",
                                                key.name.c_str(), nullptr);
  if (!Succeeded(error)) return std::nullopt;
  std::string found = password != nullptr ? password : "";
  secret_password_free(password);
  return found;
}

bool StoreSecret(const std::string& iniFile, const std::string& section, const std::string& password) {
  if (!SessionBusPresent()) return false;
  const Attributes key(iniFile, section);
  const std::string label = "Vesk Tools: Passwort aus [" + Trim(section) + "] von " + key.file;
  GError* error = nullptr;
  const bool stored =
      secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &error,
                                 "datei", key.file.c_str(), "abschnitt", key.name.c_str(), nullptr);
  return Succeeded(error) && stored;
}

bool ClearSecret(const std::string& iniFile, const std::string& section) {
  if (!SessionBusPresent()) return false;
  const Attributes key(iniFile, section);
  GError* error = nullptr;
  secret_password_clear_sync(Schema(), nullptr, &error, "datei", key.file.c_str(), "abschnitt", key.name.c_str(),
                             nullptr);
  return Succeeded(error);
}

}  // namespace vesk
