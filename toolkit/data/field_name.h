// Comparing field names as the user reads them: without regard to case in
// the user's locale, umlauts included.
#pragma once

#include <string_view>

namespace vesk {

bool SameFieldName(std::string_view a, std::string_view b);

}  // namespace vesk
