// Regional settings read from the user's locale (LC_TIME, LC_NUMERIC,
// LC_CTYPE) into the runtime's FormatSettings, and the code page's lead-byte
// test. Under the C or POSIX locale the German defaults apply.
#pragma once

#include "runtime/format_settings.h"

namespace vesk {

// What the locale of the process (after setlocale(LC_ALL, "")) says.
FormatSettings ReadRegionalSettings();
// Reads them and makes them the runtime's settings; the code page too.
void LoadRegionalSettings();
// The same from the user's locale as the environment names it, whatever
// locale the process is in: for a library whose host may never have set one.
// The process's locale stays as it is.
void LoadUserRegionalSettings();

// Multi-byte code page (UTF-8 and the like): a lead byte starts a character of
// several bytes and is taken together with its continuation bytes.
bool IsMultiByteCodePage();
bool IsLeadByte(unsigned char byte);
// Length in bytes of the character that starts at text[0] (1 in a single-byte
// code page, and for a broken sequence).
int CharLength(const char* text, int available);
void SetMultiByteCodePageForTesting(bool multi_byte);

}  // namespace vesk
