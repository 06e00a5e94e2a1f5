// Text in other character sets turned into UTF-8, the system's own, through
// ICU's converters. Files and values of the Windows era carry no word of
// their set; they are read as UTF-8 when they are valid UTF-8 and as
// Windows-1252 otherwise, as the list files and vCards of that time are.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// Whether every byte of text belongs to a well-formed UTF-8 character.
bool IsValidUtf8(std::string_view text);
// The bytes of a text in the named set ("ISO-8859-15", "windows-1252", any
// name ICU knows, case ignored) as UTF-8. Raises EConvertError
// "unbekannter Zeichensatz <set>" for a name ICU does not know, and
// "Text nicht im Zeichensatz <set>" when the conversion fails.
std::string CharsetToUtf8(std::string_view bytes, const std::string& charset);
// Bytes whose set nobody states: kept as they are when they are valid
// UTF-8, else read as Windows-1252, which maps every byte to a character.
std::string Utf8OrWindows1252(std::string bytes);

}  // namespace vesk
