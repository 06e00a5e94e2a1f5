// Constants written into filter texts by the program itself. A constant is
// quoted, so that whatever the regional formats put into it ("/" in a date,
// blanks, operator characters) reads back as one constant.
#pragma once

#include <string>
#include <string_view>

#include "runtime/datetime.h"

namespace vesk {

// The text between single quotes, a quote inside doubled: O'Neil gives
// 'O''Neil'.
std::string QuotedConstant(std::string_view text);

// The date in the short date format, quoted: '13/12/2026' under en_GB.
std::string DateConstant(TDateTime date);

}  // namespace vesk
