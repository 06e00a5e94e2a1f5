// The host program: makes the program folder its current directory with
// Data/ in it, loads the Tools library, shows its main window "Tools" and
// drives the reminder program until the window is closed or a termination
// signal arrives. With --minimized (as the autostart entry starts it) the
// window stays hidden and the host waits in the notification area; a host
// started while another runs hands over to it. With --dial and a telephone
// link (host/telephone_link.h) the address window dials what the link
// stands for, in the running host or in this one once it has started; a
// malformed link gives the box "Fehler in der Eingabe" and starts nothing.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// Runs with a QApplication; arguments without the program name. The exit
// code: 0, or 1 when the link is malformed or the program folder or the
// library is not usable.
int RunHost(const std::vector<std::string>& arguments);

}  // namespace vesk
