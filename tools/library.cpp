// The library's start and end. At load it registers "VeskTools"; its
// windows are freed by its own application object while the host's
// QApplication still exists: when the library is unloaded, or, if it stays
// loaded, when the QApplication is destroyed (Qt runs post routines first).
#include <QCoreApplication>

#include "toolkit/application.h"
#include "tools/VeskMsg.h"

namespace vesk {
namespace {

void DestroyLibraryWindows() { Application().DestroyWindows(); }

struct LibraryLifetime {
  LibraryLifetime() {
    RegisterVeskToolsMessage();
    Application().SetTitle("Tools");
    qAddPostRoutine(DestroyLibraryWindows);
  }
  ~LibraryLifetime() {
    qRemovePostRoutine(DestroyLibraryWindows);
    if (QCoreApplication::instance() != nullptr) DestroyLibraryWindows();
  }
};

const LibraryLifetime lifetime;

}  // namespace
}  // namespace vesk
