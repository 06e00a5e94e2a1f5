// Routines shared by the library's windows and controls.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// The part of the line after its first "="; raises vesk::Exception
// "Trennzeichen (=) nicht gefunden" when the line has none.
std::string ValueAfterEquals(std::string_view line);

}  // namespace vesk
