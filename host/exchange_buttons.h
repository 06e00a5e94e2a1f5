// The host's buttons "Importieren…" and "Exportieren…": addresses as vCard
// and appointments as iCalendar files, to and from the tables in the
// program folder. A file dialog picks the file; an import of many entries
// shows its progress and can be stopped; the status bar tells how many
// entries came in or went out, a message box why a file could not be read.
#pragma once

#include <string>

class QBoxLayout;

namespace vesk {

class TFRVeskTools;

// Imports of more entries than this show a progress dialog.
inline constexpr size_t kImportProgressFrom = 300;

void AddExchangeButtons(QBoxLayout& buttons, TFRVeskTools& window);

// What the buttons do once the file is chosen (an empty name: the dialog
// was cancelled, nothing happens); the text for the status bar.
std::string ImportFile(TFRVeskTools& window, const std::string& file);
// type: "vcf" writes the addresses, "ics" the appointments.
std::string ExportFile(TFRVeskTools& window, const std::string& file, const std::string& type);

}  // namespace vesk
