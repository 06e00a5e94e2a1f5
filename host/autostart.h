// Start at login: the XDG autostart entry vesktools.desktop in the user's
// autostart folder ($XDG_CONFIG_HOME/autostart, else ~/.config/autostart),
// which starts the host minimised, and the host window's check box
// "Beim Anmelden starten" that writes and removes it.
#pragma once

#include <string>

class QCheckBox;
class QWidget;

namespace vesk {

std::string AutostartEntryFile();
bool AutostartEntryExists();
// The entry that starts program (an absolute path) with --minimized.
// Raises vesk::Exception when it cannot be written.
void WriteAutostartEntry(const std::string& program);
// Raises vesk::Exception when the entry is there and cannot be removed.
void RemoveAutostartEntry();

// Ticked while the entry exists. Ticking writes the entry for the running
// host's executable, unticking removes it; when that fails an error box
// says why and the box shows what is on disk.
QCheckBox* NewAutostartBox(QWidget* parent);

}  // namespace vesk
