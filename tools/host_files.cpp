#include "tools/host_files.h"

#include <filesystem>

#include "platform/program_folder.h"

namespace vesk {

std::string HostIniFile() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return ProgramFile(error ? std::string("vesktools.ini") : HostIniName(executable.string()));
}

std::string HostIniName(const std::string& executable) {
  constexpr std::string_view kReplaced = " (deleted)";
  std::string path = executable;
  if (path.ends_with(kReplaced)) path.resize(path.size() - kReplaced.size());
  return std::filesystem::path(path).stem().string() + ".ini";
}

}  // namespace vesk
