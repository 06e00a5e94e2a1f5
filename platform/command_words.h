// The words of a desktop entry's command line, with its quoting taken off
// as the desktop does when it starts the command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// The unquoted words; empty for an empty command or one whose quoting is
// broken (an unclosed quote), which the desktop cannot start either.
std::vector<std::string> CommandWords(std::string_view command);

}  // namespace vesk
