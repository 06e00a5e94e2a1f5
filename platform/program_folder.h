// The program folder: the one per-user folder that holds the user's files
// (reminder list, category lists, INI files). $VESK_HOME if set, else
// $XDG_DATA_HOME/vesktools, else ~/.local/share/vesktools; created with mode
// 0700 on first use.
#pragma once

#include <string>

namespace vesk {

// The folder, without a trailing "/"; raises vesk::Exception when it cannot
// be created or is not a folder.
std::string ProgramFolder();
// ProgramFolder() + "/" + name.
std::string ProgramFile(const std::string& name);

}  // namespace vesk
