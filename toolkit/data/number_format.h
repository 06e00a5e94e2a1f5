// Number display formats of the "0.00" / "#,##0.00" kind: "0" a digit always
// shown, "#" a digit shown when significant, "." the decimal separator and
// "," thousands grouping (written with the regional separators), any other
// text before or after the digits kept as it stands ("#,##0.00 €").
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// Rounded half away from zero to the format's decimals; "-" in front of a
// negative number that does not round to zero. An empty format or one
// without digit places gives FloatToStr.
std::string FormatFloat(std::string_view format, double value);

}  // namespace vesk
