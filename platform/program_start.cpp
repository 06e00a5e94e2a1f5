#include "platform/program_start.h"

#include <QApplication>

#include <clocale>

#include "platform/message_box.h"
#include "platform/regional_settings.h"

namespace vesk {

int RunDesktopProgram(int argc, char** argv, const std::function<int(const std::vector<std::string>&)>& body) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  std::setlocale(LC_ALL, "");
  LoadRegionalSettings();
  InstallGermanTranslations();
  return body(arguments);
}

}  // namespace vesk
