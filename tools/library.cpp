// The library's start and end. At load it reads the user's regional formats
// (a host of another make need not have done so, and this library may have
// its own copy of the runtime's settings), registers "VeskTools" and puts
// the SIP line behind the telephone functions unless the host has put
// another there; its windows are freed by its own application object while the host's
// QApplication still exists: when the library is unloaded, or, if it stays
// loaded, when the QApplication is destroyed (Qt runs post routines first).
#include <QCoreApplication>
#include <memory>

#include "platform/regional_settings.h"
#include "platform/telephony/line_backend.h"
#include "platform/telephony/sip_line.h"
#include "toolkit/application.h"
#include "tools/VeskMsg.h"
#include "tools/host_files.h"

namespace vesk {
namespace {

void DestroyLibraryWindows() { Application().DestroyWindows(); }

// Without a program folder there is no account either: no line then, and
// the address window says why.
void InstallSipLine() {
  if (LineBackendInstalled()) return;
  try {
    InstallLineBackend(std::make_unique<SipLine>(HostIniFile()));
  } catch (const std::exception&) {
  }
}

struct LibraryLifetime {
  LibraryLifetime() {
    LoadUserRegionalSettings();
    RegisterVeskToolsMessage();
    InstallSipLine();
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
