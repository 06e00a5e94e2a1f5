#include "platform/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

// An environment variable, or "" when unset.
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
  }
  if (home.empty()) throw Exception("Kein Benutzerordner bekannt (HOME ist nicht gesetzt)");
  return home;
}

std::string ResolveFolder() {
  std::string folder = Env("VESK_HOME");
  if (folder.empty()) {
    // Relative XDG paths are invalid and must be ignored.
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') data = HomeFolder() + "/.local/share";
    folder = data + "/vesktools";
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

[[noreturn]] void Fail(const std::string& folder, int error) {
  throw Exception(
      FormatMessage("Der Programmordner %s kann nicht angelegt werden: %s", {folder, std::strerror(error)}));
}

// mkdir -p with mode 0700 for every folder it creates; existing folders keep
// their mode.
void CreateFolder(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) Fail(folder, ENOTDIR);
    return;
  }
  if (errno != ENOENT) Fail(folder, errno);
  if (std::string::size_type slash = folder.rfind('/'); slash != std::string::npos && slash > 0) {
    CreateFolder(folder.substr(0, slash));
  }
  // Another process may create it at the same moment.
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) Fail(folder, errno);
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) Fail(folder, ENOTDIR);
}

}  // namespace

std::string ProgramFolder() {
  std::string folder = ResolveFolder();
  CreateFolder(folder);
  return folder;
}

std::string ProgramFile(const std::string& name) {
  std::string folder = ProgramFolder();
  return folder == "/" ? folder + name : folder + "/" + name;
}

}  // namespace vesk
