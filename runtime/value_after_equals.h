// ValueAfterEquals: the value of a "key=value" line, as the reminder program
// and the history combo box read them from INI sections.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// The part of the line after its first "="; raises vesk::Exception
// "Trennzeichen (=) nicht gefunden" when the line has none.
std::string ValueAfterEquals(std::string_view line);

}  // namespace vesk
