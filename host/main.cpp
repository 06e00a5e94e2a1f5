// vesktools: the host program of the Tools library.
#include <QApplication>

#include <clocale>
#include <string>
#include <vector>

#include "host/host_program.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::setlocale(LC_ALL, "");
  vesk::LoadRegionalSettings();
  vesk::InstallGermanTranslations();
  return vesk::RunHost(arguments);
}
