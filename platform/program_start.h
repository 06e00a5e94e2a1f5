// The start-up that the desktop programs (host and reminder program) share:
// the Qt application, kept alive when its last window closes, the user's
// locale and regional settings, and Qt's German texts.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vesk {

// Runs body with the arguments after the program name inside the started
// application and returns its exit code.
int RunDesktopProgram(int argc, char** argv, const std::function<int(const std::vector<std::string>&)>& body);

}  // namespace vesk
