// The desktop's own file and address associations: which application opens
// a MIME type by default, as the XDG MIME applications rules and the shared
// MIME database decide (desktop-specific lists included).
#pragma once

#include <string>

namespace vesk {

// The command line (the desktop entry's Exec) of the default application
// for the MIME type or "x-scheme-handler/…" address scheme; "" when there
// is none or its desktop entry cannot be found.
std::string DefaultCommand(const std::string& mimeType);
// The MIME type the shared MIME database gives a file by its name alone;
// "" when the name says nothing certain.
std::string MimeTypeOfName(const std::string& fileName);

}  // namespace vesk
