// Runs one TGoToWeb operation in a process of its own, so that each test
// gives the desktop's association lookup a fresh XDG environment. Prints
// the browser found, then 1 or 0 for the operation's result.
//   go_to_web_helper find
//   go_to_web_helper url <address>
//   go_to_web_helper mail <address> <subject>
#include <cstdio>
#include <string>

#include "tools/adressen/GoToWeb.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string mode = argv[1];
  vesk::TGoToWeb web;
  std::printf("%s\n", web.FindBrowser().c_str());
  bool started = false;
  if (mode == "url" && argc == 3) {
    web.SetUrl(argv[2]);
    started = web.OpenUrl();
  } else if (mode == "mail" && argc == 4) {
    web.SetEMail(argv[2]);
    web.SetEMailSubject(argv[3]);
    started = web.OpenEMail();
  } else if (mode != "find") {
    return 2;
  }
  std::printf("%d\n", started ? 1 : 0);
  return 0;
}
