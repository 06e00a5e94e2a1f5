// One host per user: a host started while another runs (from the menu
// while the one started at login waits in the notification area, or for a
// telephone link) hands over to it and ends, so that the two never fight
// over the reminder program. The running host is asked through its window
// with the host's own registered messages: "VeskToolsOeffnen" to show
// itself, "VeskToolsWaehlen" to dial, the number travelling as a posted
// text (platform/posted_text.h).
#pragma once

#include <functional>
#include <string>

namespace vesk {

class TFRVeskTools;

// True when another host's window "Tools" is there; unless minimized, that
// host was asked to show its window.
bool HandOverToRunningHost(bool minimized);
// True when another host's window "Tools" is there; that host was handed
// the number (or SIP address) to dial, or a box told the user that it could
// not be.
bool HandDialOverToRunningHost(const std::string& callee);
// From now on the window shows itself when a later host asks it to, and
// dial gets what a later host hands over to dial; the window's other
// messages are handled as before.
void OpenOnRequest(TFRVeskTools& window, std::function<void(const std::string& callee)> dial);

}  // namespace vesk
