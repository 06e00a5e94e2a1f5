#include "tools/host_files.h"

#include <filesystem>

#include "platform/program_folder.h"

namespace vesk {

std::string HostIniFile() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return ProgramFile((error ? std::string("vesktools") : executable.stem().string()) + ".ini");
}

}  // namespace vesk
