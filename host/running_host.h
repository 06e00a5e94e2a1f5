// One host per user: a host started while another runs (from the menu
// while the one started at login waits in the notification area) hands
// over to it and ends, so that the two never fight over the reminder
// program. The running host is asked through its window with the host's own
// registered message "VeskToolsOeffnen" to show itself.
#pragma once

namespace vesk {

class TFRVeskTools;

// True when another host's window "Tools" is there; unless minimized, that
// host was asked to show its window.
bool HandOverToRunningHost(bool minimized);
// From now on the window shows itself when a later host asks it to; the
// window's other messages are handled as before.
void OpenOnRequest(TFRVeskTools& window);

}  // namespace vesk
