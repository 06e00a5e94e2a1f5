#include "platform/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

std::string FolderPath() {
  // Relative XDG paths are invalid and must be ignored.
  const char* base = std::getenv("XDG_RUNTIME_DIR");
  if (base == nullptr || base[0] != '/') return "/tmp/vesktools-" + std::to_string(geteuid());
  std::string folder = base;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder == "/" ? "/vesktools" : folder + "/vesktools";
}

[[noreturn]] void Refuse(const std::string& folder, const std::string& reason) {
  throw Exception(FormatMessage("Der Laufzeitordner %s ist nicht verwendbar: %s", {folder, reason}));
}

}  // namespace

std::string RuntimeFolder() {
  std::string folder = FolderPath();
  // In /tmp anyone may have made the folder first; only what lstat finds
  // after mkdir counts, and a symbolic link is never followed.
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) Refuse(folder, std::strerror(errno));
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) Refuse(folder, std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) Refuse(folder, "kein Ordner");
  if (info.st_uid != geteuid()) Refuse(folder, "er gehört einem anderen Benutzer");
  if ((info.st_mode & 077) != 0) Refuse(folder, "andere Benutzer haben Zugriff");
  return folder;
}

}  // namespace vesk
