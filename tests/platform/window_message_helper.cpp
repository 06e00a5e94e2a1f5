// Second process of the window message tests. Modes:
//   register <name>...                      prints each name's identifier
//   window <class> <caption> <quit name>    prints "ready <handle>", then
//       "<message> <wParam> <lParam>" for each message; the quit message
//       ends it with its wParam as exit code
//   forking-window <class> <caption> <quit name>
//       as window, but first a forked child of it ends with exit()
//   post <class> <caption> <name> <wParam> <lParam>
//       exit code 0 posted, 3 window not found, 4 post failed
//   broadcast <name> <wParam> <lParam>
//   window-without-application <class> <caption>
//       exit code 5 when registering is refused, 0 when it is not
// Posting and lookup run without an application object.
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/registered_messages.h"
#include "platform/window_messages.h"
#include "runtime/exceptions.h"

namespace {

void PrintLine(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

int RunWindow(int argc, char** argv, bool forkFirst) {
  QCoreApplication application(argc, argv);
  const uint16_t quit = vesk::RegisterWindowMessage(argv[4]);
  vesk::TopLevelWindow window(argv[2], argv[3], [quit](uint16_t message, uintptr_t wParam, intptr_t lParam) {
    PrintLine(std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    if (message == quit) QCoreApplication::exit(static_cast<int>(wParam));
  });
  if (forkFirst) {
    const pid_t child = fork();
    if (child == 0) std::exit(0);  // runs the destructors of statics
    waitpid(child, nullptr, 0);
  }
  PrintLine("ready " + window.Handle().AsString());
  return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "register") {
    for (int i = 2; i < argc; ++i) PrintLine(std::to_string(vesk::RegisterWindowMessage(argv[i])));
    return 0;
  }
  if ((mode == "window" || mode == "forking-window") && argc == 5) {
    return RunWindow(argc, argv, mode == "forking-window");
  }
  if (mode == "post" && argc == 7) {
    std::optional<vesk::WindowHandle> window = vesk::FindWindow(argv[2], argv[3]);
    if (!window) return 3;
    return vesk::PostMessage(*window, vesk::RegisterWindowMessage(argv[4]), std::stoull(argv[5]), std::stoll(argv[6]))
               ? 0
               : 4;
  }
  if (mode == "broadcast" && argc == 5) {
    vesk::BroadcastMessage(vesk::RegisterWindowMessage(argv[2]), std::stoull(argv[3]), std::stoll(argv[4]));
    return 0;
  }
  if (mode == "window-without-application" && argc == 4) {
    try {
      vesk::TopLevelWindow window(argv[2], argv[3], {});
    } catch (const vesk::Exception&) {
      return 5;
    }
    return 0;
  }
  std::fputs("unknown mode\n", stderr);
  return 2;
}
