// The SIP library's one core of the process and the timer that drives it,
// shared by the line and by the listing of sound devices. The core keeps
// its files (call history, key material of encrypted calls) in the program
// folder and loads no media plugins: calls are audio only, and the system's
// plugins may bring other toolkits into the process (a video display built
// on Qt 5, say).
#pragma once

#include <linphone++/linphone.hh>
#include <memory>
#include <string>

namespace vesk {

// The core, made on first use; raises vesk::Exception when the program
// folder cannot be made. Never destroyed: the library's own threads and
// sockets end with the process.
std::shared_ptr<linphone::Core> SipCore();
// Drives the core from the calling thread's event loop from now on.
void WakeSipCore();
// Lets the driving stop once the core has no call left to end.
void RestSipCore();
// Whether the core is being driven now.
bool SipCoreDriven();
// The folder the core loads media plugins from: one of the program
// folder's own, kept empty.
std::string SipPluginFolder();

}  // namespace vesk
