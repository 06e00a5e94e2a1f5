// A host of another make: a Qt program without this project's runtime,
// whose process stays in the C locale. It loads the Tools library given as
// its argument, opens the appointments window through TermExecute and
// closes it again, so that the library writes termine.sav.
#include <dlfcn.h>

#include <QApplication>
#include <QWidget>
#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QApplication application(argc, argv);
  // QApplication takes the user's locale; this host puts the C locale back.
  std::setlocale(LC_ALL, "C");
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 3;
  }
  auto termExecute = reinterpret_cast<void (*)()>(dlsym(library, "TermExecute"));
  if (termExecute == nullptr) return 4;
  termExecute();
  QApplication::processEvents();
  int closed = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == "Termine") closed += window->close() ? 1 : 0;
  QApplication::processEvents();
  return closed == 1 ? 0 : 5;
}
