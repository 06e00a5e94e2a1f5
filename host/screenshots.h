// `--screenshots DIR`: the host's window and every window of the library
// whose export exists, each rendered to DIR/<caption>.png.
#pragma once

#include <string>

namespace vesk {

class TFRVeskTools;
class ToolsLibrary;

// 0 when every picture was written, else 1; each file or skipped window is
// named on standard output.
int SaveScreenshots(const std::string& folder, TFRVeskTools& host, ToolsLibrary& library);

}  // namespace vesk
