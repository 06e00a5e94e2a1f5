// Writing content lines of vCard (RFC 6350) and iCalendar (RFC 5545)
// files, whose text values and line folding follow the same rules.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// A TEXT value: backslash, comma and semicolon escaped, a line break as
// "\n"; carriage returns and the other control characters, which neither
// format allows in a value, left out (a tab stays).
std::string EscapedText(std::string_view text);

// The line with CRLF, folded so that no line is longer than 75 bytes and no
// UTF-8 character is split.
std::string FoldedLine(std::string_view line);

}  // namespace vesk
