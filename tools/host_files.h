// Files named after the host's executable, kept in the program folder.
#pragma once

#include <string>

namespace vesk {

// The host's INI file: the executable's name with the extension ".ini", in
// the program folder ("vesktools.ini" when the executable cannot be named).
// Raises vesk::Exception when the program folder
// cannot be made.
std::string HostIniFile();

// The INI file's name for the executable at path, as the kernel names it:
// an executable replaced while it runs (by an update) is "… (deleted)"
// there, and keeps its name.
std::string HostIniName(const std::string& executable);

}  // namespace vesk
