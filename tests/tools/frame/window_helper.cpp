// A second process with one top-level window of the class and caption given
// as its arguments. It writes "ready" once the window is registered and
// keeps the window until its standard input ends.
#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/window_messages.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QCoreApplication application(argc, argv);
  vesk::TopLevelWindow window(argv[1], argv[2], {});
  std::cout << "ready" << std::endl;
  std::string line;
  while (std::getline(std::cin, line)) {
  }
  return 0;
}
