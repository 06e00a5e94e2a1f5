#include "platform/shared_data.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vesk {

std::string SharedDataFolder() {
  if (const char* folder = std::getenv("VESK_DATA_DIR"); folder != nullptr && *folder != '\0') return folder;
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const std::filesystem::path programs = executable.parent_path();
  for (const std::filesystem::path& candidate :
       {programs / ".." / "share" / "vesktools", programs / ".." / ".." / "share" / "vesktools"}) {
    if (std::filesystem::is_directory(candidate, error)) return candidate.lexically_normal().string();
  }
  return {};
}

std::string SharedDataFile(const std::string& name) {
  const std::string folder = SharedDataFolder();
  return folder.empty() ? std::string() : folder + "/" + name;
}

}  // namespace vesk
