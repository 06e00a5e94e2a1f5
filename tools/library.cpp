// The library's start and end. At load it reads the user's regional formats
// (a host of another make need not have done so, and this library may have
// its own copy of the runtime's settings) and registers "VeskTools"; its
// windows are freed by its own application object while the host's
// QApplication still exists: when the library is unloaded, or, if it stays
// loaded, when the QApplication is destroyed (Qt runs post routines first).
#include <QCoreApplication>

#include "platform/regional_settings.h"
#include "toolkit/application.h"
#include "tools/VeskMsg.h"

namespace vesk {
namespace {

void DestroyLibraryWindows() { Application().DestroyWindows(); }

struct LibraryLifetime {
  LibraryLifetime() {
    LoadUserRegionalSettings();
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
