// The program's read-only data (tariff tables, examples, icons): the folder
// share/vesktools beside the installed programs, found from the running
// executable, never through a path fixed when the program was built.
#pragma once

#include <string>

namespace vesk {

// $VESK_DATA_DIR if set; else the first existing of <exe>/../share/vesktools
// (programs in bin/, and the build folder, which links the source tree's
// data/ there) and <exe>/../../share/vesktools (programs in lib/vesktools/).
// "" when there is none.
std::string SharedDataFolder();
// SharedDataFolder() + "/" + name; "" when there is no folder.
std::string SharedDataFile(const std::string& name);

}  // namespace vesk
